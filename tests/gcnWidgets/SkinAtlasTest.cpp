// The widgets cut fixed rectangles out of the committed skin atlas (drawn by tools/make_skin).
// A redrawn atlas that moves or drops a piece would make a widget draw nothing or a stray edge,
// so these checks read the committed image itself.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
  unsigned char alpha(int x, int y) const {
    return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3];
  }
  const unsigned char* pixel(int x, int y) const {
    return &rgba[(static_cast<size_t>(y) * width + x) * 4];
  }
};

::testing::AssertionResult readPng(const std::string& path, Picture& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    return ::testing::AssertionFailure() << path << ": " << image.message;
  }
  image.format = PNG_FORMAT_RGBA;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
    return ::testing::AssertionFailure() << path << ": " << image.message;
  }
  return ::testing::AssertionSuccess();
}

struct Piece {
  const char* name;
  int x, y, w, h;
};

// Every rectangle the program cuts, with the name of what it shows.
const std::vector<Piece>& atlasPieces() {
  static const std::vector<Piece> pieces = [] {
    std::vector<Piece> all = {
        {"arrow pointer", 175, 135, 15, 22},
        {"hand pointer", 158, 135, 17, 24},
        {"field box left", 0, 275, 3, 24},
        {"field box middle", 3, 275, 3, 24},
        {"field box right", 47, 275, 3, 24},
        {"radio off", 0, 131, 13, 14},
        {"radio on", 0, 145, 13, 14},
        {"button normal left", 0, 6, 4, 33},
        {"button normal middle", 4, 6, 4, 33},
        {"button normal right", 136, 6, 4, 33},
        {"button hover left", 102, 39, 4, 33},
        {"button hover middle", 106, 39, 4, 33},
        {"button hover right", 132, 39, 4, 33},
        {"button disabled left", 34, 39, 4, 33},
        {"button disabled middle", 38, 39, 4, 33},
        {"button disabled right", 64, 39, 4, 33},
        {"button pressed left", 68, 39, 4, 33},
        {"button pressed middle", 72, 39, 4, 33},
        {"button pressed right", 98, 39, 4, 33},
        {"bar fill left", 50, 275, 3, 31},
        {"bar fill middle", 53, 275, 3, 31},
        {"bar fill right", 59, 275, 3, 31},
        {"bar track left", 72, 275, 3, 31},
        {"bar track middle", 64, 275, 3, 31},
        {"bar track right", 69, 275, 3, 31},
        {"info symbol", 320, 0, 64, 64},
        {"warning symbol", 320, 69, 64, 64},
        {"error symbol", 384, 69, 64, 64},
        {"close cross", 153, 39, 20, 20},
        {"check box off", 0, 105, 13, 13},
        {"check box on", 0, 118, 14, 13},
        {"title logo", 0, 455, 287, 35},
        {"info icon", 13, 138, 14, 14},
    };
    static const char* const typeIcons[] = {
        "type icon 0", "type icon 1", "type icon 2", "type icon 3", "type icon 4",
        "type icon 5", "type icon 6", "type icon 7", "type icon 8", "type icon 9"};
    for (int i = 0; i < 10; ++i) {
      all.push_back({typeIcons[i], 50 + 16 * (i % 2), 338 + 16 * (i / 2), 16, 16});
    }
    return all;
  }();
  return pieces;
}

class SkinAtlasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    loaded_ = readPng(std::string(TARNWICK_SOURCE_DIR) + "/resources/Main.png", atlas_);
  }
  void SetUp() override { ASSERT_TRUE(loaded_); }
  static Picture atlas_;
  static ::testing::AssertionResult loaded_;
};
Picture SkinAtlasTest::atlas_;
::testing::AssertionResult SkinAtlasTest::loaded_ = ::testing::AssertionFailure();

TEST_F(SkinAtlasTest, EveryPieceTheProgramCutsHoldsArtwork) {
  ASSERT_EQ(atlas_.width, 512);
  ASSERT_EQ(atlas_.height, 512);
  for (const Piece& p : atlasPieces()) {
    int visible = 0;
    for (int y = p.y; y < p.y + p.h; ++y) {
      for (int x = p.x; x < p.x + p.w; ++x) visible += atlas_.alpha(x, y) > 0 ? 1 : 0;
    }
    EXPECT_GT(visible, 0) << p.name << " is empty";
  }
}

// Widgets stretch these slices to any width: a slice whose columns differ repeats a pattern, and
// a slice with holes lets the screen show through the face.
TEST_F(SkinAtlasTest, StretchedSlicesAreOpaqueAndRepeatOneColumn) {
  for (const Piece& p : atlasPieces()) {
    const std::string name = p.name;
    if (name.find("middle") == std::string::npos) continue;
    int holes = 0, changes = 0;
    for (int y = p.y; y < p.y + p.h; ++y) {
      for (int x = p.x; x < p.x + p.w; ++x) {
        const unsigned char* here = atlas_.pixel(x, y);
        holes += here[3] != 255 ? 1 : 0;
        changes += std::equal(here, here + 4, atlas_.pixel(p.x, y)) ? 0 : 1;
      }
    }
    EXPECT_EQ(holes, 0) << name << " is not opaque everywhere";
    EXPECT_EQ(changes, 0) << name << " differs from column to column";
  }
}

TEST(WindowIconTest, IsASquareImageWithAVisibleMark) {
  Picture icon;
  ASSERT_TRUE(readPng(std::string(TARNWICK_SOURCE_DIR) + "/resources/icon100.png", icon));
  EXPECT_EQ(icon.width, icon.height);
  EXPECT_GE(icon.width, 32);
  int opaque = 0;
  for (int y = 0; y < icon.height; ++y) {
    for (int x = 0; x < icon.width; ++x) opaque += icon.alpha(x, y) == 255 ? 1 : 0;
  }
  EXPECT_GT(opaque, icon.width * icon.height / 2);
}

}  // namespace
