#include <gtest/gtest.h>

#include <string>

#include "TextTestSupport.h"
#include "text/BitmapFont.h"
#include "text/HGEImageFont.h"

namespace {

using TextRendererTest = TextTest;

// Which glyphs a text draws and how wide it measures (one line, or the widest
// line): colour codes, stray tildes, characters, missing glyphs, line breaks.
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
      {"A~x~B", false, "A~x~B", false, 18},
      {"A~y~B", false, "AB", false, 18},
      // Tildes that form no code are ordinary characters.
      {"A~B", false, "A~B", false, 22},
      // Plain mode swallows every code, known or not.
      {"A~y~B~Y~A~~~B", true, "ABAB", false, 36},
      // UTF-8 draws each character with its code-page glyph; the euro sign
      // (in the code page, not in this font) and a Chinese character take
      // the question mark's.
      {"A\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD", false, "Ae??", false, 28},
      // Text that is not UTF-8 is read as code-page bytes.
      {"A\xE9\x80", false, "Ae?", false, 22},
      {"A\rB", false, "A?B", false, 24},
      // Multiline width is the widest line.
      {"B\nAAA\n\nAA", false, "BAAAAA", true, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    engine->ClearCalls();
    font->Render(0, 0, BitmapFont::kLeft, c.text, c.plain);
    EXPECT_EQ(GlyphsOf(DrawnGlyphs(*engine)), c.drawn);
    EXPECT_FLOAT_EQ(font->GetStringWidth(c.text, c.multiline), c.width);
  }
}

TEST_F(TextRendererTest, ColourCodesSetTheirColourAndTheLastOneStays) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "~a~A~b~A~g~A~l~A~p~A~r~A~w~A~y~A");
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "AAAAAAAA");
  const std::uint32_t expected[] = {0xFF777777, 0xFF0000FF, 0xFF00FF00, 0xFF000000,
                                    0xFFFF00FF, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFF00};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(drawn[i].color, expected[i]) << i;

  // A trailing code leaves the font in that colour; plain mode and unknown
  // codes leave it alone.
  font->SetColor(0xFF123456);
  font->Render(0, 0, BitmapFont::kLeft, "A~y~B~Y~A~~~B", true);
  font->Render(0, 0, BitmapFont::kLeft, "~Y~~x~");
  EXPECT_EQ(font->GetColor(), 0xFF123456u);
  font->Render(0, 0, BitmapFont::kLeft, "AB~g~");
  EXPECT_EQ(font->GetColor(), 0xFF00FF00u);
}

TEST_F(TextRendererTest, LinesAreAlignedOnTheirOwnWidthAndMoveDownByTheHeight) {
  auto font = TestFont();
  // First line: ten A (100) and a 1 (1) = 101 pixels; second line: one B (8).
  font->Render(300, 10, BitmapFont::kCentre, "AAAAAAAAAA1\nB");
  auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(drawn.size(), 12u);
  EXPECT_FLOAT_EQ(drawn[0].x, 251);  // pen at 300 - trunc(50.5) = 250, plus pre 1
  EXPECT_FLOAT_EQ(drawn[11].x, 296);
  EXPECT_FLOAT_EQ(drawn[11].y, 34);

  engine->ClearCalls();
  font->Render(100, 0, BitmapFont::kRight, "AB\n~y~B", false);
  drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "ABB");
  EXPECT_FLOAT_EQ(drawn[0].x, 83);  // 100 - 18 + pre 1
  EXPECT_FLOAT_EQ(drawn[2].x, 92);  // the code on the second line measures nothing
}

TEST_F(TextRendererTest, PrintfCutsItsResultAt511Bytes) {
  auto font = TestFont();
  const std::string longText(2000, 'B');
  font->Printf(0, 0, BitmapFont::kLeft, "%s%s", true, longText.c_str(), "A");
  EXPECT_EQ(GlyphsOf(DrawnGlyphs(*engine)), std::string(511, 'B'));
}

// The toolkit adapter places a caret only where a character starts.
TEST_F(TextRendererTest, StringIndexFallsOnCharacterStarts) {
  gcn::HGEImageFont adapter(TestFont().release(), true);
  const std::string text =
      "A\xC3\xA9"
      "B";  // A é B: 10, 6, 8 wide
  EXPECT_EQ(adapter.getStringIndexAt(text, 9), 0);
  EXPECT_EQ(adapter.getStringIndexAt(text, 12), 1);
  EXPECT_EQ(adapter.getStringIndexAt(text, 17), 3);
  EXPECT_EQ(adapter.getStringIndexAt(text, 40), 4);
  EXPECT_EQ(adapter.getWidth(text), 25);
}

}  // namespace
