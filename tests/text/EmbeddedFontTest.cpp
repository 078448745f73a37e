// The font the program carries (resources/Myriad20.*): the widget kit and the
// screens derive sizes from its figures, so they are pinned here.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "TextTestSupport.h"
#include "text/BitmapFont.h"
#include "text/HGEImageFont.h"

namespace {

std::string ReadResource(const std::string& name) {
  std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EmbeddedFontTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    image = ReadResource("Myriad20.png");
    descriptor = ReadResource("Myriad20.fnt");
    ASSERT_FALSE(image.empty());
    ASSERT_FALSE(descriptor.empty());
    // As start-up loads it: the image as a texture from memory, then the
    // descriptor through the memory loader, the font owning the texture.
    texture = engine->Texture_Load(image.data(), static_cast<std::uint32_t>(image.size()), false);
    font = std::make_unique<BitmapFont>(
        descriptor.data(), static_cast<std::uint32_t>(descriptor.size()), texture, true, 0, 0);
  }

  std::string image, descriptor;
  std::unique_ptr<BitmapFont> font;
};

TEST_F(EmbeddedFontTest, A256SquareImageWith224GlyphsOf24RowsInSeparateCells) {
  EXPECT_EQ(engine->Texture_GetWidth(texture, false), 256);
  EXPECT_EQ(engine->Texture_GetHeight(texture, false), 256);
  EXPECT_EQ(image[25], 6) << "colour type RGBA";
  EXPECT_EQ(image[24], 8) << "8 bits a channel";
  EXPECT_TRUE(engine->log.empty()) << engine->log.front();
  EXPECT_FLOAT_EQ(font->GetHeight(), 24);
  struct Cell {
    float x, y, width, height;
  };
  std::vector<Cell> cells;
  for (int code = 0; code < 256; ++code) {
    const Sprite* glyph = font->GetSprite(static_cast<unsigned char>(code));
    ASSERT_EQ(glyph != nullptr, code >= 0x20) << "code " << code;
    if (!glyph) continue;
    Cell cell{};
    glyph->GetTextureRect(&cell.x, &cell.y, &cell.width, &cell.height);
    EXPECT_FLOAT_EQ(cell.height, 24) << "code " << code;
    for (const Cell& other : cells) {
      const bool apart = cell.x >= other.x + other.width || other.x >= cell.x + cell.width ||
                         cell.y >= other.y + other.height || other.y >= cell.y + cell.height;
      EXPECT_TRUE(apart || cell.width == 0 || other.width == 0) << "code " << code;
    }
    cells.push_back(cell);
  }
  EXPECT_EQ(cells.size(), 224u);
  // Bytes below the space show the question mark.
  EXPECT_FLOAT_EQ(font->GetStringWidth("\x01"), font->GetStringWidth("?"));
  EXPECT_GT(font->GetStringWidth("?"), 0);
}

TEST_F(EmbeddedFontTest, WidgetSizesDerivedFromTheFontHold) {
  gcn::HGEImageFont adapter(font.get(), false);
  const int buttonSpacing = 4;
  EXPECT_EQ(adapter.getHeight() + 2 * buttonSpacing, 32);  // button by adjustSize
  EXPECT_EQ(adapter.getHeight() + 4, 28);                  // text field by adjustSize
  EXPECT_EQ(adapter.getWidth(std::string()) + 16, 17);     // empty check box
  // Every caption the screens put on a button fits its fixed width with the
  // button's spacing on both sides.
  const struct {
    const char* caption;
    int buttonWidth;
  } buttons[] = {{"Browse", 75}, {"Next", 90},    {"Back", 90},
                 {"Pause", 90},  {"Unpause", 90}, {"Extract next archive", 175},
                 {"Exit", 75}};
  for (const auto& button : buttons)
    EXPECT_LE(adapter.getWidth(std::string(button.caption)) + 2 * buttonSpacing, button.buttonWidth)
        << button.caption;
}

}  // namespace
