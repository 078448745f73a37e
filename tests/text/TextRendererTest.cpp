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
}

// Which glyphs a text draws and how wide it measures (one line, or the widest
// line): colour codes, stray tildes, missing glyphs and line breaks.
TEST_F(TextRendererTest, GlyphsDrawnAndWidthMeasured) {
  auto font = TestFont();
  const struct {
    const char* text;
    bool plain;
    const char* drawn;
    bool multiline;
    float width;
  } cases[] = {
      {"AB", false, "AB", false, 18},
      // Unknown code letters are drawn but take no room; known codes neither.
      {"~Y~~x~", false, "~Y~~x~", false, 0},
      {"A~x~B", false, "A~x~B", false, 18},
      {"~~~", false, "~~~", false, 0},
      {"A~y~B", false, "AB", false, 18},
      // Tildes that form no code are ordinary characters.
      {"A~", false, "A~", false, 14},
      {"A~B", false, "A~B", false, 22},
      {"~~", true, "~~", false, 8},
      // Plain mode swallows every code, known or not.
      {"A~y~B~Y~A~~~B", true, "ABAB", false, 36},
      // Missing glyphs fall back to the question mark.
      {"A\rB\xE9", false, "A?B?", false, 30},
      // Multiline width is the widest line; only the breaks after a line are
      // skipped, so a CR before its LF measures as the question mark.
      {"B\nAAA\n\r\n\rAA", false, "BAAA??AA", false, 8},
      {"B\nAAA\n\r\n\rAA", false, "BAAA??AA", true, 30},
      {"AAA\r\nB", false, "AAA?B", true, 36},
      {"\n\nA\n", false, "A", true, 10},
      {"", false, "", true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    engine->ClearCalls();
    font->Render(0, 0, BitmapFont::kLeft, c.text, c.plain);
    EXPECT_EQ(GlyphsOf(DrawnGlyphs(*engine)), c.drawn);
    EXPECT_FLOAT_EQ(font->GetStringWidth(c.text, c.multiline), c.width);
  }
  EXPECT_FLOAT_EQ(font->GetStringWidth(nullptr, true), 0);
}

TEST_F(TextRendererTest, ColourCodesSetTheirColourAndTheLastOneStays) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "~a~A~b~A~g~A~l~A~p~A~r~A~w~A~y~A");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "AAAAAAAA");
  const std::uint32_t expected[] = {0xFF777777, 0xFF0000FF, 0xFF00FF00, 0xFF000000,
                                    0xFFFF00FF, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFF00};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(drawn[i].color, expected[i]) << i;
  EXPECT_FLOAT_EQ(drawn[7].x - drawn[0].x, 70);  // codes take no room

  // A trailing code leaves the font, and the next call, in that colour.
  font->SetColor(0xFFFFFFFF);
  engine->ClearCalls();
  font->Render(0, 0, BitmapFont::kLeft, "AB~y~");
  EXPECT_EQ(DrawnGlyphs(*engine).at(1).color, 0xFFFFFFFFu);
  EXPECT_EQ(font->GetColor(), 0xFFFFFF00u);
  EXPECT_EQ(font->GetSprite('B')->GetColor(3), 0xFFFFFF00u);
  engine->ClearCalls();
  font->Render(0, 0, BitmapFont::kLeft, "A");
  EXPECT_EQ(DrawnGlyphs(*engine).at(0).color, 0xFFFFFF00u);
}

TEST_F(TextRendererTest, PlainModeAndUnknownCodesKeepTheFontColour) {
  auto font = TestFont();
  font->SetColor(0xFF123456);
  font->Render(0, 0, BitmapFont::kLeft, "A~y~B~Y~A~~~B", true);
  font->Render(0, 0, BitmapFont::kLeft, "~Y~~x~");
  for (const auto& glyph : DrawnGlyphs(*engine)) EXPECT_EQ(glyph.color, 0xFF123456u);
  EXPECT_EQ(font->GetColor(), 0xFF123456u);
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

TEST_F(TextRendererTest, AlignmentPlacesEveryLineOnItsOwnWidth) {
  auto font = TestFont();
  // First line: ten A (100) and a 1 (1) = 101 pixels; second line: one B (8).
  font->Render(300, 0, BitmapFont::kCentre, "AAAAAAAAAA1\nB");
  auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(drawn.size(), 12u);
  EXPECT_FLOAT_EQ(drawn[0].x, 251);  // pen at 300 - trunc(50.5) = 250, plus pre 1
  EXPECT_FLOAT_EQ(drawn[11].x, 296);
  EXPECT_FLOAT_EQ(drawn[11].y, 24);

  engine->ClearCalls();
  font->Render(100, 0, BitmapFont::kRight, "AB\n~y~B\nA", false);
  drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "ABBA");
  EXPECT_FLOAT_EQ(drawn[0].x, 83);  // 100 - 18 + pre 1
  EXPECT_FLOAT_EQ(drawn[2].x, 92);  // the code on the second line measures nothing
  EXPECT_FLOAT_EQ(drawn[3].x, 91);
  // Alignment 3 and the higher bits act as left.
  engine->ClearCalls();
  font->Render(100, 0, 3 | 4 | 16, "B");
  EXPECT_FLOAT_EQ(DrawnGlyphs(*engine).at(0).x, 100);
}

TEST_F(TextRendererTest, MissingGlyphsTakeThePlaceOfTheQuestionMarkOrNoRoom) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "A\rB\xE9");
  EXPECT_FLOAT_EQ(DrawnGlyphs(*engine).at(2).x, 16);

  engine->ClearCalls();
  auto withoutQuestionMark = FontFrom("[HGEFONT]\nChar=\"B\",16,0,8,24,0,0\n", texture);
  withoutQuestionMark->Render(0, 0, BitmapFont::kLeft,
                              "zBz\x01"
                              "B");
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_FLOAT_EQ(quads[1].v[0].x, 8);
  EXPECT_FLOAT_EQ(withoutQuestionMark->GetStringWidth("zBzB"), 16);
}

TEST_F(TextRendererTest, ScaleProportionTrackingSpacingColourDepthAndBlendApply) {
  auto font = TestFont();
  font->SetScale(2);
  font->SetProportion(0.5f);
  font->SetTracking(3);
  font->SetSpacing(1.5f);
  font->SetColor(0x80FF0000);
  font->SetZ(0.1f);
  font->SetBlendMode(0);
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
  for (const hgeQuad& quad : engine->Quads()) {
    EXPECT_EQ(quad.blend, 0);
    for (const auto& vertex : quad.v) {
      EXPECT_EQ(vertex.col, 0x80FF0000u);
      EXPECT_FLOAT_EQ(vertex.z, 0.1f);
    }
  }
  font->SetProportion(2);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB"), 96);
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

  // Long results are cut at 511 bytes.
  engine->ClearCalls();
  const std::string longText(2000, 'B');
  font->Printf(0, 0, BitmapFont::kLeft, "%s%s", true, longText.c_str(), "A");
  EXPECT_EQ(GlyphsOf(DrawnGlyphs(*engine)), std::string(511, 'B'));
}

TEST_F(TextRendererTest, EmptyFontDrawsNothing) {
  auto font = FontFrom("not a font", engine->AddTexture(64, 64));
  font->Render(0, 0, BitmapFont::kCentre, "AB\nC~y~");
  font->Printf(0, 0, BitmapFont::kLeft, "%d", false, 5);
  EXPECT_TRUE(engine->Quads().empty());
  EXPECT_FLOAT_EQ(font->GetHeight(), 0);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB"), 0);
}

}  // namespace
