// The widgets, the atlas generator and this test read the atlas layout from
// one table. A broken table, or a redrawn atlas that moves or drops a piece,
// makes a widget draw nothing or a stray edge.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <vector>

#include "gcnWidgets/wSkin.h"
#include "gcnWidgets/wSkinLayout.h"

namespace {

using namespace SHR::layout;

TEST(SkinLayout, PiecesLieInsideTheAtlasWithoutOverlapping) {
  EXPECT_EQ(LayoutProblem(), "");
}

// Every piece holds artwork; the slices widgets stretch to any width are opaque (no hole lets
// the screen through the face) and repeat one column (a differing one would show as a pattern).
TEST(SkinLayout, CommittedAtlasHoldsEveryPiece) {
  const std::string path = std::string(TARNWICK_SOURCE_DIR) + "/resources/Main.png";
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_EQ(image.width, static_cast<unsigned>(kAtlasSize));
  ASSERT_EQ(image.height, static_cast<unsigned>(kAtlasSize));
  std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) << image.message;
  const auto pixel = [&rgba](int x, int y) { return &rgba[(y * kAtlasSize + x) * 4]; };
  for (const NamedRect& piece : AllPieces()) {
    const Rect& r = piece.rect;
    int visible = 0, holes = 0, changes = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x) {
        visible += pixel(x, y)[3] > 0;
        holes += pixel(x, y)[3] != 255;
        changes += !std::equal(pixel(x, y), pixel(x, y) + 4, pixel(r.x, y));
      }
    EXPECT_GT(visible, 0) << piece.name << " is empty";
    if (piece.name.find("middle") == std::string::npos) continue;
    EXPECT_EQ(holes, 0) << piece.name << " is not opaque everywhere";
    EXPECT_EQ(changes, 0) << piece.name << " differs from column to column";
  }
}

TEST(TypeIconFor, ExactNamesPickTheirIcons) {
  const std::pair<const char*, int> cases[] = {
      {"WAV", SHR::kIconSound},   {"XMI", SHR::kIconSound},   {"TXT", SHR::kIconText},
      {"PAL", SHR::kIconBrushes}, {"PID", SHR::kIconPicture}, {"PCX", SHR::kIconPicture},
      {"WWD", SHR::kIconPlant},   {"ANI", SHR::kIconFigure},  {"wav", SHR::kIconUnknown},
      {"WAVE", SHR::kIconUnknown}};
  for (const auto& [name, icon] : cases) EXPECT_EQ(SHR::TypeIconFor(name), icon) << name;
}

}  // namespace
