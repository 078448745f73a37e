#include <gtest/gtest.h>

#include <guichan/color.hpp>
#include <guichan/graphics.hpp>
#include <guichan/rectangle.hpp>

#include "TextTestSupport.h"
#include "text/HGEImageFont.h"

namespace {

// The toolkit graphics as far as the font adapter uses it: a colour and the
// clip area stack. Anything it would draw itself is counted, since the adapter
// must draw through the engine only.
class ColourAndClipGraphics : public gcn::Graphics {
 public:
  void drawImage(const gcn::Image*, int, int, int, int, int, int) override { ++ownDrawing; }
  void drawPoint(int, int) override { ++ownDrawing; }
  void drawLine(int, int, int, int) override { ++ownDrawing; }
  void drawRectangle(const gcn::Rectangle&) override { ++ownDrawing; }
  void fillRectangle(const gcn::Rectangle&) override { ++ownDrawing; }
  void setColor(const gcn::Color& value) override { colour = value; }
  const gcn::Color& getColor() const override { return colour; }

  gcn::Color colour;
  int ownDrawing = 0;
};

using HGEImageFontTest = TextTest;

TEST_F(HGEImageFontTest, WidthsAreTruncatedAndAStringGetsOneMore) {
  auto font = TestFont();
  font->SetProportion(1.25f);  // A: 12.5, B: 10, ?: 7.5
  gcn::HGEImageFont adapter(font.get(), false);
  EXPECT_EQ(adapter.getWidth(std::string("A")), 13);
  EXPECT_EQ(adapter.getWidth(std::string("AB")), 23);
  EXPECT_EQ(adapter.getWidth(std::string("")), 1);
  EXPECT_EQ(adapter.getWidth(std::string("B\nAB~y~")), 23);  // the widest line
  EXPECT_EQ(adapter.getWidth(static_cast<unsigned char>('A')), 12);
  EXPECT_EQ(adapter.getWidth(static_cast<unsigned char>('\r')), 7);
  EXPECT_EQ(adapter.getHeight(), 24);
}

TEST_F(HGEImageFontTest, StringIndexIsWhereTheSummedWidthsPassX) {
  auto font = TestFont();
  gcn::HGEImageFont adapter(font.get(), false);
  // Running sums: A 10, B 18, A 28.
  EXPECT_EQ(adapter.getStringIndexAt("ABA", -5), 0);
  EXPECT_EQ(adapter.getStringIndexAt("ABA", 9), 0);
  EXPECT_EQ(adapter.getStringIndexAt("ABA", 10), 1);
  EXPECT_EQ(adapter.getStringIndexAt("ABA", 27), 2);
  EXPECT_EQ(adapter.getStringIndexAt("ABA", 28), 3);
  EXPECT_EQ(adapter.getStringIndexAt("ABA", 1000), 3);
  EXPECT_EQ(adapter.getStringIndexAt("", 0), 0);
}

TEST_F(HGEImageFontTest, DrawsInTheToolkitColourRelativeToTheClipArea) {
  auto font = TestFont();
  gcn::HGEImageFont adapter(font.get(), false);
  ColourAndClipGraphics graphics;
  graphics.pushClipArea(gcn::Rectangle(100, 50, 200, 100));
  graphics.pushClipArea(gcn::Rectangle(10, 5, 50, 30));
  graphics.setColor(gcn::Color(0x12, 0x34, 0x56, 0x78));
  adapter.drawString(&graphics, "A~y~B", 3, 4);
  graphics.setColor(gcn::Color(255, 255, 255));
  adapter.drawString(&graphics, "B", 0, 0);
  const auto drawn = DrawnGlyphs(*engine);
  ASSERT_EQ(GlyphsOf(drawn), "ABB");
  EXPECT_FLOAT_EQ(drawn[0].x, 114);  // 100 + 10 + 3, plus pre 1
  EXPECT_FLOAT_EQ(drawn[0].y, 59);
  EXPECT_EQ(drawn[0].color, 0x78123456u);
  EXPECT_EQ(drawn[1].color, 0xFFFFFF00u);  // colour codes work inside widget texts
  EXPECT_EQ(drawn[2].color, 0xFFFFFFFFu);  // each string starts in the toolkit colour
  EXPECT_FLOAT_EQ(drawn[2].x, 110);
  EXPECT_EQ(graphics.ownDrawing, 0);
}

TEST_F(HGEImageFontTest, OwnsTheFontOnlyWhenAskedOrWhenItLoadedIt) {
  auto shared = TestFont();
  { gcn::HGEImageFont borrowing(shared.get(), false); }
  EXPECT_TRUE(shared->GetSprite('A'));  // still usable: the adapter did not delete it
  // The sanitizer build reports a leak if these did not free their fonts.
  EXPECT_EQ(gcn::HGEImageFont(TestFont().release(), true).getHeight(), 24);
  engine->files["f.fnt"] = "[HGEFONT]\nBitmap=f.png\nChar=\"A\",0,0,9,20,0,0\n";
  engine->files["f.png"] = PngHeader(16, 32);
  gcn::HGEImageFont loaded(std::string("f.fnt"));
  EXPECT_EQ(loaded.getHeight(), 20);
  EXPECT_EQ(loaded.getWidth(std::string("A")), 10);
}

}  // namespace
