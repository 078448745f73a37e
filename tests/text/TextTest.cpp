// The bitmap font: its descriptor parser (bad lines are skipped with the reason)
// and what a text draws, read back from the recorded glyph quads.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/RecordingEngine.h"
#include "text/BitmapFont.h"
#include "text/HGEImageFont.h"

namespace {

using Log = std::vector<std::string>;

class TextTest : public ::testing::Test {
 protected:
  TextTest() : engine(new RecordingEngine) { hgeInstall(std::unique_ptr<HGE>(engine)); }
  std::unique_ptr<BitmapFont> FontFrom(const std::string& descriptor, int w = 64, int h = 32) {
    return std::make_unique<BitmapFont>(descriptor.data(),
                                        static_cast<std::uint32_t>(descriptor.size()),
                                        engine->AddTexture(w, h), false, 0, 0);
  }
  int GlyphCount(const BitmapFont& font) {
    int count = 0;
    for (int code = 0; code < 256; ++code) count += font.GetSprite(code) != nullptr;
    return count;
  }
  // Glyphs on a 256x256 texture, all 24 high, each in its own column of 16
  // pixels so that a drawn quad tells which glyph it is. Advances:
  // A 10 (pre 1, width 10, post -1), B 8, ? 6, ~ 4, x 5, Y 7, 1 1, \xE9 (é) 6.
  std::unique_ptr<BitmapFont> TestFont() {
    return FontFrom(
        "[HGEFONT]\nChar=\"A\",0,0,10,24,1,-1\nChar=\"B\",16,0,8,24,0,0\n"
        "Char=\"?\",32,0,5,24,0,1\nChar=\"~\",48,0,4,24,0,0\nChar=\"x\",64,0,5,24,0,0\n"
        "Char=\"Y\",80,0,7,24,0,0\nChar=\"1\",96,0,1,24,0,0\nChar=E9,112,0,6,24,0,0\n",
        256, 256);
  }
  // The glyphs drawn since the last call, by their texture column, and their colours.
  std::string Drawn(std::vector<std::uint32_t>* colors = nullptr) {
    std::string glyphs;
    for (const hgeQuad& quad : engine->quads) {
      const int column = static_cast<int>(std::lround(quad.v[0].tx * 256)) / 16;
      glyphs += column >= 0 && column < 8 ? "AB?~xY1e"[column] : '#';
      if (colors) colors->push_back(quad.v[0].col);
    }
    engine->ClearCalls();
    return glyphs;
  }

  RecordingEngine* engine;
};

TEST_F(TextTest, DescriptorHeaderMustBeExactlyTheFirstLine) {
  const std::string glyph = "\nChar=\"A\",0,0,8,24,0,0";
  for (const std::string& bad :
       {"[HGEFONT] " + glyph, "[hgefont]" + glyph, std::string(), glyph.substr(1) + "\n[HGEFONT]",
        "[HGEFONT]" + std::string(300, ' ') + glyph /* cut as an overlong line */}) {
    engine->log.clear();
    EXPECT_EQ(GlyphCount(*FontFrom(bad)), 0) << bad;
    EXPECT_EQ(engine->log, Log{"Font from memory has incorrect format."});
  }
  engine->log.clear();
  auto font = FontFrom("[HGEFONT]\r\n\r\n; a comment\rChar=\"A\",0,0,8,24,0,0\nHeight=99");
  EXPECT_EQ(GlyphCount(*font), 1);
  EXPECT_TRUE(engine->log.empty());
  // Codes are a quoted byte or hexadecimal; a code given again replaces its glyph.
  font = FontFrom(
      "[HGEFONT]\nChar=\"\"\",0,0,3,24,0,0\nChar  =   \"=\",0,0,5,24,0,0\nChar=e9,0,0,3,24,0,0\n"
      "Char=E9,0,0,9,24,0,0\nChar=FFFFFFFFFF41,0,0,7,24,0,0\n");
  EXPECT_TRUE(font->GetSprite('"') && font->GetSprite('='));
  ASSERT_TRUE(font->GetSprite(0xE9));
  EXPECT_FLOAT_EQ(font->GetSprite(0xE9)->GetWidth(), 9);
  EXPECT_EQ(GlyphCount(*font), 3);
}

// Every malformed line is skipped with the reason and its number; the lines
// around it still count.
TEST_F(TextTest, MalformedDescriptorLinesAreIgnoredAndLogged) {
  const std::string numbers = "it needs six numbers (x, y, width, height, pre, post)";
  const std::string outside = "glyph rectangle outside the texture";
  const std::pair<const char*, std::string> cases[] = {
      {"Char\"A\",0,0,8,24,0,0", "no \"=\""},
      {"Char=\"B\",0,0,8,24,0", numbers},
      {"Char=\"C\",0,0,8,x,0,0", numbers},
      {"Char=\"D\",0,0,99999999999,24,0,0", numbers},
      {"Char=\"", "no character after the quote"},
      {"Char=\"b\",57,0,8,24,0,0", outside},
      {"Char=\"c\",0,9,8,24,0,0", outside},
      {"Char=\"d\",-1,0,8,24,0,0", outside},
      {"Char=\"f\",2147483647,0,2147483647,24,0,0", outside},
      {"Char=\"e\",0,0,-8,24,0,0", "negative glyph size"},
      {"Char=100,0,0,7,24,0,0", "character code above 255"},
  };
  for (const auto& [line, reason] : cases) {
    engine->log.clear();
    auto font = FontFrom(std::string("[HGEFONT]\n") + line + "\nChar=\"a\",56,8,8,24,0,0\n");
    EXPECT_EQ(GlyphCount(*font), 1) << line;  // the one at the bottom-right corner
    EXPECT_EQ(engine->log, Log{"Font from memory, line 2 ignored: " + reason + "."});
  }
}

// Which glyphs a text draws and how wide it measures (one line, or the widest
// line): colour codes, stray tildes, characters, missing glyphs, line breaks.
TEST_F(TextTest, GlyphsDrawnAndWidthMeasured) {
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
    font->Render(0, 0, BitmapFont::kLeft, c.text, c.plain);
    EXPECT_EQ(Drawn(), c.drawn);
    EXPECT_FLOAT_EQ(font->GetStringWidth(c.text, c.multiline), c.width);
  }
}

TEST_F(TextTest, ColourCodesSetTheirColourAndTheLastOneStays) {
  auto font = TestFont();
  font->Render(0, 0, BitmapFont::kLeft, "~a~A~b~A~g~A~l~A~p~A~r~A~w~A~y~A");
  std::vector<std::uint32_t> colors;
  EXPECT_EQ(Drawn(&colors), "AAAAAAAA");
  EXPECT_EQ(colors, (std::vector<std::uint32_t>{0xFF777777, 0xFF0000FF, 0xFF00FF00, 0xFF000000,
                                                0xFFFF00FF, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFF00}));
  // A trailing code leaves the font in that colour; plain mode and unknown
  // codes leave it alone.
  font->SetColor(0xFF123456);
  font->Render(0, 0, BitmapFont::kLeft, "A~y~B~Y~A~~~B", true);
  font->Render(0, 0, BitmapFont::kLeft, "~Y~~x~");
  EXPECT_EQ(font->GetColor(), 0xFF123456u);
  font->Render(0, 0, BitmapFont::kLeft, "AB~g~");
  EXPECT_EQ(font->GetColor(), 0xFF00FF00u);
}

// Names and typed paths are drawn as they stand: "~y~" in a file name is text.
TEST_F(TextTest, TheNameFontTakesNoColourCodesAndLeavesTheFontAsItWas) {
  auto font = TestFont();
  gcn::HGEImageFont captions(font.get(), false), names(font.get(), false);
  names.setLiteral(true);
  EXPECT_EQ(captions.getWidth("A~y~B"), captions.getWidth("AB"));
  EXPECT_GT(names.getWidth("A~y~B"), names.getWidth("AB") + 2 * 4 - 1);
  EXPECT_FALSE(font->IsLiteral());
  const BitmapFont::LiteralScope literal(*font);  // a name is one line: a break draws as "?"
  font->Render(0, 0, BitmapFont::kLeft, "A\nB");
  EXPECT_EQ(Drawn(), "A?B");
  EXPECT_FLOAT_EQ(font->GetStringWidth("A\nB"), 24);
}

}  // namespace
