#include <gtest/gtest.h>

#include <string>

#include "TextTestSupport.h"
#include "text/BitmapFont.h"

namespace {

using TextRendererTest = TextTest;

TEST_F(TextRendererTest, PenAdvancesByPreWidthPostAndDrawsAfterPre) {
  auto font = TestFont();
  font->Render(20, 30, BitmapFont::kLeft, "AB");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "AB");
  EXPECT_FLOAT_EQ(drawn[0].x, 21);  // pen 20 + pre 1
  EXPECT_FLOAT_EQ(drawn[0].y, 30);
  EXPECT_FLOAT_EQ(drawn[0].width, 10);
  EXPECT_FLOAT_EQ(drawn[0].height, 24);
  EXPECT_FLOAT_EQ(drawn[1].x, 30);  // 21 + width 10 + post -1
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB"), 18);
}

TEST_F(TextRendererTest, EachOfTheEightColourLettersSetsItsColour) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "~a~A~b~A~g~A~l~A~p~A~r~A~w~A~y~A");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "AAAAAAAA");
  const std::uint32_t expected[] = {0xFF777777, 0xFF0000FF, 0xFF00FF00, 0xFF000000,
                                    0xFFFF00FF, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFF00};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(drawn[i].color, expected[i]) << i;
  // Codes take no room: the letters sit one advance apart.
  EXPECT_FLOAT_EQ(drawn[7].x - drawn[0].x, 70);
}

TEST_F(TextRendererTest, TrailingColourCodeLeavesTheFontInThatColour) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "AB~y~");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "AB");
  EXPECT_EQ(drawn[1].color, 0xFFFFFFFFu);
  EXPECT_EQ(font->GetColor(), 0xFFFFFF00u);
  EXPECT_EQ(font->GetSprite('B')->GetColor(3), 0xFFFFFF00u);
  engine->ClearCalls();
  font->Render(0, 0, BitmapFont::kLeft, "A");  // the colour carries over to the next call
  EXPECT_EQ(DrawnGlyphs(*engine).at(0).color, 0xFFFFFF00u);
}

TEST_F(TextRendererTest, UnknownCodeLettersAreDrawnButNotMeasured) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "~Y~~x~");
  EXPECT_EQ(GlyphsOf(DrawnGlyphs(*engine)), "~Y~~x~");
  EXPECT_FLOAT_EQ(font->GetStringWidth("~Y~~x~"), 0);
  EXPECT_FLOAT_EQ(font->GetStringWidth("A~x~B"), font->GetStringWidth("AB"));
  EXPECT_FLOAT_EQ(font->GetStringWidth("A~y~B"), font->GetStringWidth("AB"));
  EXPECT_EQ(font->GetColor(), 0xFFFFFFFFu);
}

TEST_F(TextRendererTest, PlainModeSwallowsEveryCodeAndKeepsTheColour) {
  auto font = TestFont();
  font->SetColor(0xFF123456);
  font->Render(0, 0, BitmapFont::kLeft, "A~y~B~Y~A~~~B", true);
  const auto drawn = DrawnGlyphs(*engine);
  EXPECT_EQ(GlyphsOf(drawn), "ABAB");
  for (const auto& glyph : drawn) EXPECT_EQ(glyph.color, 0xFF123456u);
  EXPECT_EQ(font->GetColor(), 0xFF123456u);
}

TEST_F(TextRendererTest, TildesThatFormNoCodeAreOrdinaryCharacters) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "~~~");
  EXPECT_EQ(GlyphsOf(DrawnGlyphs(*engine)), "~~~");
  engine->ClearCalls();
  font->Render(0, 0, BitmapFont::kLeft, "A~");
  font->Render(0, 0, BitmapFont::kLeft, "A~B");
  font->Render(0, 0, BitmapFont::kLeft, "~~", true);
  EXPECT_EQ(GlyphsOf(DrawnGlyphs(*engine)), "A~A~B~~");
  EXPECT_FLOAT_EQ(font->GetStringWidth("A~"), 14);
}

TEST_F(TextRendererTest, LineFeedMovesDownByTheFontHeightAndBackToX) {
  auto font = TestFont();
  font->Render(5, 10, BitmapFont::kLeft, "A\nB\n\nA");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "ABA");
  EXPECT_FLOAT_EQ(drawn[0].y, 10);
  EXPECT_FLOAT_EQ(drawn[1].x, 5);
  EXPECT_FLOAT_EQ(drawn[1].y, 34);
  EXPECT_FLOAT_EQ(drawn[2].x, 6);
  EXPECT_FLOAT_EQ(drawn[2].y, 82);
}

TEST_F(TextRendererTest, CentreAlignmentCentresEveryLineOnItsOwnWidth) {
  auto font = TestFont();
  // First line: ten A (100) and a 1 (1) = 101 pixels; second line: one B (8).
  font->Render(300, 0, BitmapFont::kCentre, "AAAAAAAAAA1\nB");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(drawn.size(), 12u);
  EXPECT_FLOAT_EQ(drawn[0].x, 251);  // pen at 300 - trunc(50.5) = 250, plus pre 1
  EXPECT_FLOAT_EQ(drawn[11].x, 296);
  EXPECT_FLOAT_EQ(drawn[11].y, 24);
}

TEST_F(TextRendererTest, RightAlignmentEndsEveryLineAtX) {
  auto font = TestFont();
  font->Render(100, 0, BitmapFont::kRight, "AB\n~y~B\nA", false);
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "ABBA");
  EXPECT_FLOAT_EQ(drawn[0].x, 83);  // 100 - 18 + pre 1
  EXPECT_FLOAT_EQ(drawn[2].x, 92);  // the code on the second line measures nothing
  EXPECT_FLOAT_EQ(drawn[3].x, 91);
  // Alignment 3 and the higher bits act as left.
  engine->ClearCalls();
  font->Render(100, 0, 3 | 4 | 16, "B");
  EXPECT_FLOAT_EQ(DrawnGlyphs(*engine).at(0).x, 100);
}

TEST_F(TextRendererTest, MissingGlyphsFallBackToTheQuestionMark) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "A\rB\xE9");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "A?B?");
  EXPECT_FLOAT_EQ(drawn[2].x, 16);
  EXPECT_FLOAT_EQ(font->GetStringWidth("A\rB\xE9"), 30);
}

TEST_F(TextRendererTest, WithoutAQuestionMarkMissingGlyphsTakeNoRoom) {
  const HTEXTURE atlas = engine->AddTexture(64, 64);
  auto font = FontFrom("[HGEFONT]\nChar=\"B\",16,0,8,24,0,0\n", atlas);
  font->Render(0, 0, BitmapFont::kLeft,
               "zBz\x01"
               "B");
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_FLOAT_EQ(quads[1].v[0].x, 8);
  EXPECT_FLOAT_EQ(font->GetStringWidth("zBzB"), 16);
}

TEST_F(TextRendererTest, MultilineWidthIsTheWidestLine) {
  auto font = TestFont();
  EXPECT_FLOAT_EQ(font->GetStringWidth("B\nAAA\n\r\n\rAA", false), 8);
  EXPECT_FLOAT_EQ(font->GetStringWidth("B\nAAA\n\r\n\rAA", true), 30);
  // Only the breaks after a line are skipped: a CR before its LF is part of the
  // line and measures as the question mark.
  EXPECT_FLOAT_EQ(font->GetStringWidth("AAA\r\nB", true), 36);
  EXPECT_FLOAT_EQ(font->GetStringWidth("\n\nA\n", true), 10);
  EXPECT_FLOAT_EQ(font->GetStringWidth("", true), 0);
  EXPECT_FLOAT_EQ(font->GetStringWidth(nullptr, true), 0);
}

TEST_F(TextRendererTest, ScaleProportionTrackingAndSpacingApply) {
  auto font = TestFont();
  font->SetScale(2);
  font->SetProportion(0.5f);
  font->SetTracking(3);
  font->SetSpacing(1.5f);
  font->Render(0, 0, BitmapFont::kLeft, "AB\nB");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(drawn.size(), 3u);
  // Horizontal factor 2 * 0.5 = 1, vertical 2.
  EXPECT_FLOAT_EQ(drawn[0].x, 1);
  EXPECT_FLOAT_EQ(drawn[0].width, 10);
  EXPECT_FLOAT_EQ(drawn[0].height, 48);
  EXPECT_FLOAT_EQ(drawn[1].x, 13);  // 1 + 10 - 1 + tracking 3
  EXPECT_FLOAT_EQ(drawn[2].y, 72);  // trunc(2 * 24 * 1.5)
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB"), 24);
  font->SetProportion(2);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB"), 96);
}

TEST_F(TextRendererTest, ColourDepthAndBlendReachEveryGlyph) {
  auto font = TestFont();
  font->SetColor(0x80FF0000);
  font->SetZ(0.1f);
  font->SetBlendMode(0);
  font->Render(0, 0, BitmapFont::kLeft, "AB");
  for (const hgeQuad& quad : engine->Quads()) {
    EXPECT_EQ(quad.blend, 0);
    for (const auto& vertex : quad.v) {
      EXPECT_EQ(vertex.col, 0x80FF0000u);
      EXPECT_FLOAT_EQ(vertex.z, 0.1f);
    }
  }
}

TEST_F(TextRendererTest, PrintfDrawsWhatRenderDrawsForTheFormattedText) {
  auto font = TestFont();
  font->Printf(10, 20, BitmapFont::kCentre, "A%s~y~%d%%", false, "B~g~B", 1);
  const auto printed = engine->Quads();
  const std::uint32_t colourAfterPrintf = font->GetColor();
  font->SetColor(0xFFFFFFFF);
  engine->ClearCalls();
  font->Render(10, 20, BitmapFont::kCentre, "AB~g~B~y~1%", false);
  const auto rendered = engine->Quads();
  ASSERT_EQ(printed.size(), rendered.size());
  ASSERT_EQ(printed.size(), 5u);
  for (std::size_t i = 0; i < printed.size(); ++i) {
    EXPECT_FLOAT_EQ(printed[i].v[0].x, rendered[i].v[0].x);
    EXPECT_FLOAT_EQ(printed[i].v[0].tx, rendered[i].v[0].tx);
    EXPECT_EQ(printed[i].v[0].col, rendered[i].v[0].col);
  }
  EXPECT_EQ(colourAfterPrintf, 0xFFFFFF00u);
}

TEST_F(TextRendererTest, PrintfCutsLongResultsAt511Bytes) {
  auto font = TestFont();
  const std::string longText(2000, 'B');
  font->Printf(0, 0, BitmapFont::kLeft, "%s%s", true, longText.c_str(), "A");
  const auto drawn = DrawnGlyphs(*engine);
  EXPECT_EQ(drawn.size(), 511u);
  EXPECT_EQ(GlyphsOf(drawn), std::string(511, 'B'));
}

TEST_F(TextRendererTest, EmptyFontDrawsNothing) {
  const HTEXTURE atlas = engine->AddTexture(64, 64);
  auto font = FontFrom("not a font", atlas);
  font->Render(0, 0, BitmapFont::kCentre, "AB\nC~y~");
  font->Printf(0, 0, BitmapFont::kLeft, "%d", false, 5);
  EXPECT_TRUE(engine->Quads().empty());
  EXPECT_FLOAT_EQ(font->GetHeight(), 0);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB"), 0);
}

}  // namespace
