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
  for (const std::string bad :
       {"[HGEFONT] \nChar=\"A\",0,0,8,24,0,0", "[hgefont]\nChar=41,0,0,8,24,0,0", " [HGEFONT]", "",
        "Char=\"A\",0,0,8,24,0,0\n[HGEFONT]"}) {
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

TEST_F(FontDescriptorTest, QuotedCodesTakeAnyByteIncludingQuoteAndBackslash) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  auto font = FontFrom(
      "[HGEFONT]\n"
      "Char=\"\"\",0,0,3,24,0,0\n"
      "Char=\"\\\",3,0,4,24,0,0\n"
      "Char  =   \"=\",7,0,5,24,0,0\n"
      "Char=\"\xE9\",12,0,6,24,0,0\n"
      "Char=\"~X,20,0,7,24,0,0\n",  // the closing quote is not checked
      texture);
  EXPECT_FLOAT_EQ(GlyphRect(*font, 0x22).width, 3);
  EXPECT_FLOAT_EQ(GlyphRect(*font, 0x5C).width, 4);
  EXPECT_FLOAT_EQ(GlyphRect(*font, '=').width, 5);
  EXPECT_FLOAT_EQ(GlyphRect(*font, 0xE9).width, 6);
  EXPECT_FLOAT_EQ(GlyphRect(*font, '~').width, 7);
  EXPECT_EQ(GlyphCount(*font), 5);
}

TEST_F(FontDescriptorTest, HexadecimalCodes) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  auto font = FontFrom(
      "[HGEFONT]\n"
      "Char=e9,0,0,3,24,0,0\n"
      "Char=E9,0,0,5,24,0,0\n"  // same code: replaces the glyph above
      "Char=0FF,0,0,6,24,0,0\n"
      "Char=100,0,0,7,24,0,0\n"  // above 255: ignored
      "Char=FFFFFFFFFF41,0,0,7,24,0,0\n"
      "Char=,0,0,8,24,0,0\n",  // no digits: code 0
      texture);
  EXPECT_FLOAT_EQ(GlyphRect(*font, 0xE9).width, 5);
  EXPECT_FLOAT_EQ(GlyphRect(*font, 0xFF).width, 6);
  EXPECT_FLOAT_EQ(GlyphRect(*font, 0x00).width, 8);
  EXPECT_FALSE(font->GetSprite(0x41));
  EXPECT_EQ(GlyphCount(*font), 3);
  EXPECT_EQ(engine->log.size(), 2u);
}

TEST_F(FontDescriptorTest, NumbersAllowBlanksAroundCommasAndKeepNegativePrePost) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  auto font = FontFrom("[HGEFONT]\nChar=\"A\" , 1 ,\t2,3 ,20 , -2,-3\n", texture);
  ASSERT_TRUE(font->GetSprite('A'));
  const Rect rect = GlyphRect(*font, 'A');
  EXPECT_FLOAT_EQ(rect.x, 1);
  EXPECT_FLOAT_EQ(rect.y, 2);
  EXPECT_FLOAT_EQ(rect.width, 3);
  EXPECT_FLOAT_EQ(rect.height, 20);
  EXPECT_FLOAT_EQ(font->GetPreWidth('A'), -2);
  EXPECT_FLOAT_EQ(font->GetPostWidth('A'), -3);
  EXPECT_FLOAT_EQ(font->GetHeight(), 20);
}

TEST_F(FontDescriptorTest, MalformedGlyphLinesAreIgnoredAndLogged) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  auto font = FontFrom(
      "[HGEFONT]\n"
      "Char\"A\",0,0,8,24,0,0\n"             // line 2: no "="
      "Char=\"B\",0,0,8,24,0\n"              // line 3: five numbers
      "Char=\"C\",0,0,8,x,0,0\n"             // line 4: not a number
      "Char=\"D\",0,0,99999999999,24,0,0\n"  // line 5: does not fit an int
      "Char=\"\n"                            // line 6: no character after the quote
      "Char=\"E\",0,0,8,24,0,0\n",
      texture);
  EXPECT_EQ(GlyphCount(*font), 1);
  EXPECT_TRUE(font->GetSprite('E'));
  ASSERT_EQ(engine->log.size(), 5u);
  EXPECT_EQ(engine->log[0], "Font from memory, line 2 ignored: no \"=\".");
  EXPECT_NE(engine->log[1].find("line 3 ignored"), std::string::npos);
  EXPECT_NE(engine->log[4].find("line 6 ignored"), std::string::npos);
}

TEST_F(FontDescriptorTest, GlyphRectanglesOutsideTheTextureAreRejected) {
  const HTEXTURE texture = engine->AddTexture(64, 32);
  auto font = FontFrom(
      "[HGEFONT]\n"
      "Char=\"A\",56,8,8,24,0,0\n"  // touches the bottom-right corner exactly: kept
      "Char=\"B\",57,0,8,24,0,0\n"  // one pixel past the right edge
      "Char=\"C\",0,9,8,24,0,0\n"   // one pixel past the bottom
      "Char=\"D\",-1,0,8,24,0,0\n"  // left of the texture
      "Char=\"E\",0,0,-8,24,0,0\n"  // negative size
      "Char=\"F\",2147483647,0,2147483647,24,0,0\n",
      texture);
  EXPECT_TRUE(font->GetSprite('A'));
  EXPECT_EQ(GlyphCount(*font), 1);
  EXPECT_EQ(engine->log.size(), 5u);
}

TEST_F(FontDescriptorTest, OffsetsShiftEveryGlyphInsideALargerTexture) {
  const HTEXTURE texture = engine->AddTexture(128, 128);
  auto font = FontFrom("[HGEFONT]\nChar=\"A\",10,20,8,24,0,0\n", texture, 16, 32);
  const Rect rect = GlyphRect(*font, 'A');
  // Texture pixels x 26-33 and y 52-75.
  EXPECT_FLOAT_EQ(rect.x, 26);
  EXPECT_FLOAT_EQ(rect.y, 52);
  EXPECT_FLOAT_EQ(rect.x + rect.width - 1, 33);
  EXPECT_FLOAT_EQ(rect.y + rect.height - 1, 75);
  EXPECT_EQ(font->GetSprite('A')->GetTexture(), texture);
  // The offset also counts for the texture bounds.
  auto shifted = FontFrom("[HGEFONT]\nChar=\"A\",100,0,8,24,0,0\n", texture, 21, 0);
  EXPECT_FALSE(shifted->GetSprite('A'));
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

TEST_F(FontDescriptorTest, AHeaderLongerThanALineIsCutAndRejected) {
  const HTEXTURE texture = engine->AddTexture(64, 64);
  const std::string header = "[HGEFONT]" + std::string(300, ' ');
  EXPECT_EQ(GlyphCount(*FontFrom(header + "\nChar=\"A\",0,0,8,24,0,0\n", texture)), 0);
  EXPECT_EQ(engine->log.size(), 1u);
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

TEST_F(FontDescriptorTest, FileLoaderPrefersTheLastBackslashForTheBitmapFolder) {
  engine->files["a/b\\c/d.fnt"] = "[HGEFONT]\nBitmap=e.png\n";
  BitmapFont font("a/b\\c/d.fnt");
  EXPECT_EQ(engine->requested.at(1), "a/b\\e.png");
  BitmapFont bare("d.fnt");  // missing descriptor: an empty font, nothing logged
  EXPECT_EQ(engine->requested.back(), "d.fnt");
  EXPECT_EQ(GlyphCount(bare), 0);
}

TEST_F(FontDescriptorTest, FileLoaderStopsAtABitmapItCannotLoad) {
  engine->files["f.fnt"] =
      "[HGEFONT]\nChar=\"A\",0,0,8,24,0,0\nBitmap=missing.png\nChar=\"B\",0,0,8,24,0,0\n";
  BitmapFont font("f.fnt");
  EXPECT_TRUE(font.GetSprite('A'));
  EXPECT_FALSE(font.GetSprite('B'));
  EXPECT_EQ(font.GetTexture(), 0u);
}

TEST_F(FontDescriptorTest, FileLoaderUsesEachBitmapForTheLinesAfterIt) {
  engine->files["f.fnt"] =
      "[HGEFONT]\nBitmap=one.png\nChar=\"A\",0,0,8,24,0,0\nBitmap=two.png\n"
      "Char=\"B\",0,0,8,24,0,0\n";
  engine->files["one.png"] = PngHeader(16, 32);
  engine->files["two.png"] = PngHeader(32, 32);
  BitmapFont font("f.fnt");
  const HTEXTURE first = font.GetSprite('A')->GetTexture();
  const HTEXTURE second = font.GetSprite('B')->GetTexture();
  EXPECT_NE(first, second);
  EXPECT_EQ(engine->Texture_GetWidth(first, false), 16);
  EXPECT_EQ(engine->Texture_GetWidth(second, false), 32);
  EXPECT_EQ(font.GetTexture(), second);
}

TEST_F(FontDescriptorTest, FileLoaderReportsABadHeaderWithTheDescriptorName) {
  engine->files["dir/bad.fnt"] = "HGEFONT\n";
  BitmapFont font("dir/bad.fnt");
  EXPECT_EQ(engine->log, std::vector<std::string>{"Font dir/bad.fnt has incorrect format."});
  EXPECT_EQ(engine->requested.size(), 1u);
}

TEST_F(FontDescriptorTest, OverlongBitmapPathsAreCut) {
  const std::string folder(5000, 'd');
  engine->files[folder + "/f.fnt"] = "[HGEFONT]\nBitmap=image.png\n";
  BitmapFont font((folder + "/f.fnt").c_str());
  ASSERT_EQ(engine->requested.size(), 2u);
  EXPECT_EQ(engine->requested[1].size(), BitmapFont::kMaxPathLength);
  EXPECT_EQ(engine->requested[1], (folder + "/image.png").substr(0, BitmapFont::kMaxPathLength));
}

}  // namespace
