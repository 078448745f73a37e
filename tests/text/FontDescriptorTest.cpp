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

struct Rect {
  float x, y, width, height;
};

Rect GlyphRect(const BitmapFont& font, unsigned char code) {
  Rect rect{};
  font.GetSprite(code)->GetTextureRect(&rect.x, &rect.y, &rect.width, &rect.height);
  return rect;
}

TEST_F(FontDescriptorTest, HeaderMustBeExactlyTheFirstLine) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  const std::string glyph = "\nChar=\"A\",0,0,8,24,0,0";
  for (const std::string& bad :
       {"[HGEFONT] " + glyph, "[hgefont]" + glyph, std::string(" [HGEFONT]"), std::string(),
        glyph.substr(1) + "\n[HGEFONT]",
        "[HGEFONT]" + std::string(300, ' ') + glyph /* cut as an overlong line */}) {
    engine->log.clear();
    auto font = FontFrom(bad, texture);
    EXPECT_EQ(GlyphCount(*font), 0) << bad;
    EXPECT_FLOAT_EQ(font->GetHeight(), 0) << bad;
    EXPECT_EQ(engine->log, std::vector<std::string>{"Font from memory has incorrect format."})
        << bad;
  }
}

TEST_F(FontDescriptorTest, LineEndingsBlankLinesAndOtherLinesDoNotMatter) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  auto font = FontFrom(
      "[HGEFONT]\r\n\r\n; a comment\r"
      "Char=\"A\",0,0,8,24,0,0\n\n\n"
      "Height=99\r\n"
      "chars are case-sensitive=1\n"
      "Char=\"B\",8,0,8,20,0,0\r\r"
      "Char=\"C\",16,0,8,24,0,0",  // no final line break
      texture);
  EXPECT_EQ(GlyphCount(*font), 3);
  EXPECT_TRUE(font->GetSprite('A') && font->GetSprite('B') && font->GetSprite('C'));
  EXPECT_FLOAT_EQ(font->GetHeight(), 24);
  EXPECT_TRUE(engine->log.empty());
}

TEST_F(FontDescriptorTest, DescriptorEndsAtItsSizeOrItsFirstNul) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  static const char kWithNul[] = "[HGEFONT]\nChar=\"A\",0,0,8,24,0,0\n\0Char=\"B\",8,0,8,24,0,0\n";
  const std::string text(kWithNul, sizeof kWithNul - 1);
  EXPECT_EQ(GlyphCount(*FontFrom(text, texture)), 1);
  // The size given cuts "Char=\"B\"..." short of its last number.
  const std::string cut = "[HGEFONT]\nChar=\"A\",0,0,8,24,0,0\nChar=\"B\",8,0,8,24,0,0";
  auto font = std::make_unique<BitmapFont>(cut.data(), static_cast<std::uint32_t>(cut.size() - 2),
                                           texture, false, 0, 0);
  EXPECT_TRUE(font->GetSprite('A'));
  EXPECT_FALSE(font->GetSprite('B'));
}

TEST_F(FontDescriptorTest, CodesAreAQuotedByteOrHexadecimal) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  auto font = FontFrom(
      "[HGEFONT]\n"
      "Char=\"\"\",0,0,3,24,0,0\n"
      "Char=\"\\\",0,0,4,24,0,0\n"
      "Char  =   \"=\",0,0,5,24,0,0\n"
      "Char=\"\xE8\",0,0,6,24,0,0\n"
      "Char=\"~X,0,0,7,24,0,0\n"  // the closing quote is not checked
      "Char=e9,0,0,3,24,0,0\n"
      "Char=E9,0,0,9,24,0,0\n"  // same code: replaces the glyph above
      "Char=0FF,0,0,10,24,0,0\n"
      "Char=100,0,0,7,24,0,0\n"  // above 255: ignored
      "Char=FFFFFFFFFF41,0,0,7,24,0,0\n"
      "Char=,0,0,11,24,0,0\n",  // no digits: code 0
      texture);
  const std::pair<unsigned char, float> widths[] = {{0x22, 3}, {0x5C, 4}, {'=', 5},   {0xE8, 6},
                                                    {'~', 7},  {0xE9, 9}, {0xFF, 10}, {0x00, 11}};
  for (const auto& [code, width] : widths) {
    ASSERT_TRUE(font->GetSprite(code)) << int{code};
    EXPECT_FLOAT_EQ(GlyphRect(*font, code).width, width) << int{code};
  }
  EXPECT_FALSE(font->GetSprite(0x41));
  EXPECT_EQ(GlyphCount(*font), 8);
  EXPECT_EQ(engine->log.size(), 2u);
}

TEST_F(FontDescriptorTest, NumbersAllowBlanksAndOffsetsShiftGlyphsInsideALargerTexture) {
  const HTEXTURE texture = engine->AddTexture(128, 128);
  auto font = FontFrom("[HGEFONT]\nChar=\"A\" , 10 ,\t20,8 ,20 , -2,-3\n", texture, 16, 32);
  ASSERT_TRUE(font->GetSprite('A'));
  const Rect rect = GlyphRect(*font, 'A');
  // Texture pixels x 26-33 and y 52-71.
  EXPECT_FLOAT_EQ(rect.x, 26);
  EXPECT_FLOAT_EQ(rect.y, 52);
  EXPECT_FLOAT_EQ(rect.x + rect.width - 1, 33);
  EXPECT_FLOAT_EQ(rect.y + rect.height - 1, 71);
  EXPECT_FLOAT_EQ(font->GetPreWidth('A'), -2);
  EXPECT_FLOAT_EQ(font->GetPostWidth('A'), -3);
  EXPECT_FLOAT_EQ(font->GetHeight(), 20);
  EXPECT_EQ(font->GetSprite('A')->GetTexture(), texture);
  // The offset also counts for the texture bounds.
  auto shifted = FontFrom("[HGEFONT]\nChar=\"A\",100,0,8,24,0,0\n", texture, 21, 0);
  EXPECT_FALSE(shifted->GetSprite('A'));
}

TEST_F(FontDescriptorTest, MalformedLinesAndRectanglesOutsideTheTextureAreIgnoredAndLogged) {
  const HTEXTURE texture = engine->AddTexture(64, 32);
  auto font = FontFrom(
      "[HGEFONT]\n"
      "Char\"A\",0,0,8,24,0,0\n"             // line 2: no "="
      "Char=\"B\",0,0,8,24,0\n"              // line 3: five numbers
      "Char=\"C\",0,0,8,x,0,0\n"             // line 4: not a number
      "Char=\"D\",0,0,99999999999,24,0,0\n"  // line 5: does not fit an int
      "Char=\"\n"                            // line 6: no character after the quote
      "Char=\"E\",0,0,8,24,0,0\n"
      "Char=\"a\",56,8,8,24,0,0\n"  // touches the bottom-right corner exactly: kept
      "Char=\"b\",57,0,8,24,0,0\n"  // one pixel past the right edge
      "Char=\"c\",0,9,8,24,0,0\n"   // one pixel past the bottom
      "Char=\"d\",-1,0,8,24,0,0\n"  // left of the texture
      "Char=\"e\",0,0,-8,24,0,0\n"  // negative size
      "Char=\"f\",2147483647,0,2147483647,24,0,0\n",
      texture);
  EXPECT_TRUE(font->GetSprite('E') && font->GetSprite('a'));
  EXPECT_EQ(GlyphCount(*font), 2);
  ASSERT_EQ(engine->log.size(), 10u);
  EXPECT_EQ(engine->log[0], "Font from memory, line 2 ignored: no \"=\".");
  EXPECT_NE(engine->log[1].find("line 3 ignored"), std::string::npos);
  EXPECT_NE(engine->log[4].find("line 6 ignored"), std::string::npos);
  EXPECT_NE(engine->log[5].find("line 9 ignored"), std::string::npos);
}

TEST_F(FontDescriptorTest, MemoryLoaderIgnoresBitmapLines) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  engine->files["img.png"] = PngHeader(32, 32);
  auto font = FontFrom("[HGEFONT]\nBitmap=img.png\nChar=\"A\",40,0,8,24,0,0\n", texture);
  EXPECT_EQ(font->GetTexture(), texture);
  EXPECT_EQ(font->GetSprite('A')->GetTexture(), texture);
  EXPECT_TRUE(engine->requested.empty());
}

TEST_F(FontDescriptorTest, OverlongLinesAreCutAt255Characters) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  const std::string longComment(10000, 'c');
  const std::string glyphWithTail = "Char=\"A\",0,0,8,24,0,0" + std::string(300, ' ') + "garbage";
  const std::string numbersTooLate = "Char=\"B\"" + std::string(250, ' ') + ",0,0,8,24,0,0";
  auto font = FontFrom("[HGEFONT]\n" + longComment + "\n" + glyphWithTail + "\n" + numbersTooLate +
                           "\nChar=\"C\",0,0,8,24,0,0\n",
                       texture);
  EXPECT_TRUE(font->GetSprite('A'));
  EXPECT_FALSE(font->GetSprite('B'));
  EXPECT_TRUE(font->GetSprite('C'));
}

TEST_F(FontDescriptorTest, FileLoaderLoadsTheBitmapBesideTheDescriptor) {
  engine->files["fonts/small.fnt"] =
      "[HGEFONT]\nChar=\"A\",0,0,8,24,0,0\nBitmap = small.png\nChar=\"B\",8,0,8,20,1,2\n";
  engine->files["fonts/small.png"] = PngHeader(128, 64);
  BitmapFont font("fonts/small.fnt");
  EXPECT_EQ(engine->requested, (std::vector<std::string>{"fonts/small.fnt", "fonts/small.png"}));
  ASSERT_NE(font.GetTexture(), 0u);
  EXPECT_EQ(engine->Texture_GetWidth(font.GetTexture(), false), 128);
  EXPECT_EQ(font.GetSprite('A')->GetTexture(), 0u);  // read before any bitmap
  EXPECT_EQ(font.GetSprite('B')->GetTexture(), font.GetTexture());
  EXPECT_FLOAT_EQ(font.GetHeight(), 24);
  EXPECT_TRUE(engine->log.empty());
}

TEST_F(FontDescriptorTest, FileLoaderUsesEachBitmapForTheLinesAfterItAndStopsAtAMissingOne) {
  engine->files["f.fnt"] =
      "[HGEFONT]\nBitmap=one.png\nChar=\"A\",0,0,8,24,0,0\nBitmap=two.png\n"
      "Char=\"B\",0,0,8,24,0,0\nBitmap=missing.png\nChar=\"C\",0,0,8,24,0,0\n";
  engine->files["one.png"] = PngHeader(16, 32);
  engine->files["two.png"] = PngHeader(32, 32);
  BitmapFont font("f.fnt");
  const HTEXTURE first = font.GetSprite('A')->GetTexture();
  const HTEXTURE second = font.GetSprite('B')->GetTexture();
  EXPECT_EQ(engine->Texture_GetWidth(first, false), 16);
  EXPECT_EQ(engine->Texture_GetWidth(second, false), 32);
  EXPECT_EQ(font.GetTexture(), second);
  EXPECT_FALSE(font.GetSprite('C'));
}

TEST_F(FontDescriptorTest, FileLoaderReportsABadHeaderWithTheDescriptorName) {
  engine->files["dir/bad.fnt"] = "HGEFONT\n";
  BitmapFont font("dir/bad.fnt");
  EXPECT_EQ(engine->log, std::vector<std::string>{"Font dir/bad.fnt has incorrect format."});
  EXPECT_EQ(engine->requested.size(), 1u);
}

TEST_F(FontDescriptorTest, BitmapPathsFollowTheLastBackslashAndAreCutWhenOverlong) {
  engine->files["a/b\\c/d.fnt"] = "[HGEFONT]\nBitmap=e.png\n";
  BitmapFont font("a/b\\c/d.fnt");
  EXPECT_EQ(engine->requested.at(1), "a/b\\e.png");
  BitmapFont bare("d.fnt");  // a missing descriptor gives an empty font
  EXPECT_EQ(GlyphCount(bare), 0);

  engine->requested.clear();
  const std::string folder(5000, 'd');
  engine->files[folder + "/f.fnt"] = "[HGEFONT]\nBitmap=image.png\n";
  BitmapFont deep((folder + "/f.fnt").c_str());
  ASSERT_EQ(engine->requested.size(), 2u);
  EXPECT_EQ(engine->requested[1], (folder + "/image.png").substr(0, BitmapFont::kMaxPathLength));
}

}  // namespace
