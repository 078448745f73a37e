#include <gtest/gtest.h>

#include <string>

#include "TextTestSupport.h"
#include "text/BitmapFont.h"

namespace {

using FontDescriptorTest = TextTest;

int GlyphCount(const BitmapFont& font) {
  int count = 0;
  for (int code = 0; code < 256; ++code) count += font.GetSprite(code) != nullptr;
  return count;
}

TEST_F(FontDescriptorTest, HeaderMustBeExactlyTheFirstLine) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  const std::string glyph = "\nChar=\"A\",0,0,8,24,0,0";
  for (const std::string& bad :
       {"[HGEFONT] " + glyph, "[hgefont]" + glyph, std::string(), glyph.substr(1) + "\n[HGEFONT]",
        "[HGEFONT]" + std::string(300, ' ') + glyph /* cut as an overlong line */}) {
    engine->log.clear();
    auto font = FontFrom(bad, texture);
    EXPECT_EQ(GlyphCount(*font), 0) << bad;
    EXPECT_EQ(engine->log, std::vector<std::string>{"Font from memory has incorrect format."});
  }
  engine->log.clear();
  auto font = FontFrom("[HGEFONT]\r\n\r\n; a comment\rChar=\"A\",0,0,8,24,0,0\nHeight=99", texture);
  EXPECT_EQ(GlyphCount(*font), 1);
  EXPECT_TRUE(engine->log.empty());
}

TEST_F(FontDescriptorTest, CodesAreAQuotedByteOrHexadecimal) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  auto font = FontFrom(
      "[HGEFONT]\n"
      "Char=\"\"\",0,0,3,24,0,0\n"
      "Char  =   \"=\",0,0,5,24,0,0\n"
      "Char=e9,0,0,3,24,0,0\n"
      "Char=E9,0,0,9,24,0,0\n"   // same code: replaces the glyph above
      "Char=100,0,0,7,24,0,0\n"  // above 255: ignored
      "Char=FFFFFFFFFF41,0,0,7,24,0,0\n",
      texture);
  EXPECT_TRUE(font->GetSprite('"') && font->GetSprite('='));
  ASSERT_TRUE(font->GetSprite(0xE9));
  EXPECT_FLOAT_EQ(font->GetSprite(0xE9)->GetWidth(), 9);
  EXPECT_EQ(GlyphCount(*font), 3);
  EXPECT_EQ(engine->log.size(), 2u);
}

// Every malformed line is skipped with the reason and its number; the lines
// around it still count.
TEST_F(FontDescriptorTest, MalformedLinesAreIgnoredAndLogged) {
  const HTEXTURE texture = engine->AddTexture(64, 32);
  const struct {
    const char* line;
    const char* reason;
  } cases[] = {
      {"Char\"A\",0,0,8,24,0,0", "no \"=\""},
      {"Char=\"B\",0,0,8,24,0", "it needs six numbers (x, y, width, height, pre, post)"},
      {"Char=\"C\",0,0,8,x,0,0", "it needs six numbers (x, y, width, height, pre, post)"},
      {"Char=\"D\",0,0,99999999999,24,0,0",
       "it needs six numbers (x, y, width, height, pre, post)"},
      {"Char=\"", "no character after the quote"},
      {"Char=\"b\",57,0,8,24,0,0", "glyph rectangle outside the texture"},
      {"Char=\"c\",0,9,8,24,0,0", "glyph rectangle outside the texture"},
      {"Char=\"d\",-1,0,8,24,0,0", "glyph rectangle outside the texture"},
      {"Char=\"f\",2147483647,0,2147483647,24,0,0", "glyph rectangle outside the texture"},
      {"Char=\"e\",0,0,-8,24,0,0", "negative glyph size"},
      {"Char=100,0,0,7,24,0,0", "character code above 255"},
  };
  for (const auto& c : cases) {
    engine->log.clear();
    auto font =
        FontFrom(std::string("[HGEFONT]\n") + c.line + "\nChar=\"a\",56,8,8,24,0,0\n", texture);
    EXPECT_EQ(GlyphCount(*font), 1) << c.line;  // the one at the bottom-right corner
    EXPECT_EQ(engine->log, std::vector<std::string>{
                               std::string("Font from memory, line 2 ignored: ") + c.reason + "."});
  }
}

TEST_F(FontDescriptorTest, FileLoaderUsesEachBitmapBesideTheDescriptorForTheLinesAfterIt) {
  engine->files["fonts/f.fnt"] =
      "[HGEFONT]\nBitmap=one.png\nChar=\"A\",0,0,8,24,0,0\nBitmap = two.png\n"
      "Char=\"B\",0,0,8,24,0,0\nBitmap=missing.png\nChar=\"C\",0,0,8,24,0,0\n";
  engine->files["fonts/one.png"] = PngHeader(16, 32);
  engine->files["fonts/two.png"] = PngHeader(32, 32);
  BitmapFont font("fonts/f.fnt");
  EXPECT_EQ(engine->Texture_GetWidth(font.GetSprite('A')->GetTexture(), false), 16);
  EXPECT_EQ(engine->Texture_GetWidth(font.GetSprite('B')->GetTexture(), false), 32);
  EXPECT_FALSE(font.GetSprite('C'));
  EXPECT_EQ(engine->log,
            std::vector<std::string>{"Font fonts/f.fnt: cannot load bitmap fonts/missing.png."});

  engine->files["dir/bad.fnt"] = "HGEFONT\n";
  engine->log.clear();
  BitmapFont bad("dir/bad.fnt");
  EXPECT_EQ(engine->log, std::vector<std::string>{"Font dir/bad.fnt has incorrect format."});
}

}  // namespace
