// The skin cuts fixed rectangles out of the committed atlas (drawn by tools/make_skin). A moved
// rectangle, or a redrawn atlas that moves or drops a piece, makes a widget draw nothing or a
// stray edge, so the rectangles are checked both in the code and in the committed image.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <guichan/exception.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wProgressBar.h"

namespace widgettest {
namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;
  const unsigned char* pixel(int x, int y) const {
    return &rgba[(static_cast<size_t>(y) * width + x) * 4];
  }
};

::testing::AssertionResult ReadPng(const std::string& name, Picture& out) {
  const std::string path = std::string(TARNWICK_SOURCE_DIR) + "/resources/" + name;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str()))
    return ::testing::AssertionFailure() << path << ": " << image.message;
  image.format = PNG_FORMAT_RGBA;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr))
    return ::testing::AssertionFailure() << path << ": " << image.message;
  return ::testing::AssertionSuccess();
}

struct Piece {
  std::string name;
  const Sprite* sprite;
  int x, y, w, h;
};

class SkinCut : public WidgetTest {
 protected:
  // Every rectangle the program cuts, with what it shows.
  std::vector<Piece> Pieces() {
    const SHR::cSkin& s = *skin;
    std::vector<Piece> pieces = {
        {"arrow pointer", s.arrowPointer.get(), 175, 135, 15, 22},
        {"hand pointer", s.handPointer.get(), 158, 135, 17, 24},
        {"field box left", s.fieldBox.left.get(), 0, 275, 3, 24},
        {"field box middle", s.fieldBox.middle.get(), 3, 275, 3, 24},
        {"field box right", s.fieldBox.right.get(), 47, 275, 3, 24},
        {"radio off", s.radioOff.get(), 0, 131, 13, 14},
        {"radio on", s.radioOn.get(), 0, 145, 13, 14},
        {"button normal left", s.buttonNormal.left.get(), 0, 6, 4, 33},
        {"button normal middle", s.buttonNormal.middle.get(), 4, 6, 4, 33},
        {"button normal right", s.buttonNormal.right.get(), 136, 6, 4, 33},
        {"button hover left", s.buttonHover.left.get(), 102, 39, 4, 33},
        {"button hover middle", s.buttonHover.middle.get(), 106, 39, 4, 33},
        {"button hover right", s.buttonHover.right.get(), 132, 39, 4, 33},
        {"button disabled left", s.buttonDisabled.left.get(), 34, 39, 4, 33},
        {"button disabled middle", s.buttonDisabled.middle.get(), 38, 39, 4, 33},
        {"button disabled right", s.buttonDisabled.right.get(), 64, 39, 4, 33},
        {"button pressed left", s.buttonPressed.left.get(), 68, 39, 4, 33},
        {"button pressed middle", s.buttonPressed.middle.get(), 72, 39, 4, 33},
        {"button pressed right", s.buttonPressed.right.get(), 98, 39, 4, 33},
        {"bar fill left", s.barFill.left.get(), 50, 275, 3, 31},
        {"bar fill middle", s.barFill.middle.get(), 53, 275, 3, 31},
        {"bar fill right", s.barFill.right.get(), 59, 275, 3, 31},
        {"bar track left", s.barTrack.left.get(), 72, 275, 3, 31},
        {"bar track middle", s.barTrack.middle.get(), 64, 275, 3, 31},
        {"bar track right", s.barTrack.right.get(), 69, 275, 3, 31},
        {"info symbol", s.infoSymbol.get(), 320, 0, 64, 64},
        {"warning symbol", s.warningSymbol.get(), 320, 69, 64, 64},
        {"error symbol", s.errorSymbol.get(), 384, 69, 64, 64},
        {"close cross", s.closeCross.get(), 153, 39, 20, 20},
        {"check box off", s.checkBoxOff.get(), 0, 105, 13, 13},
        {"check box on", s.checkBoxOn.get(), 0, 118, 14, 13},
        {"title logo", art->titleLogo.get(), 0, 455, 287, 35},
        {"info icon", art->infoIcon.get(), 13, 138, 14, 14},
    };
    for (int i = 0; i < SHR::cScreenArt::kTypeIconCount; ++i)
      pieces.push_back({"type icon " + std::to_string(i), art->typeIcons[i].get(),
                        50 + 16 * (i % 2), 338 + 16 * (i / 2), 16, 16});
    return pieces;
  }
  std::unique_ptr<SHR::cScreenArt> art = SHR::CutScreenArt(atlas);
};

TEST_F(SkinCut, EveryPieceHasItsRectangle) {
  for (const Piece& piece : Pieces()) {
    SCOPED_TRACE(piece.name);
    ASSERT_NE(piece.sprite, nullptr);
    float x = -1, y = -1, w = -1, h = -1;
    piece.sprite->GetTextureRect(&x, &y, &w, &h);
    EXPECT_EQ(x, piece.x);
    EXPECT_EQ(y, piece.y);
    EXPECT_EQ(w, piece.w);
    EXPECT_EQ(h, piece.h);
    EXPECT_EQ(piece.sprite->GetTexture(), atlas);
    const hgeQuad& quad = piece.sprite->GetQuad();
    EXPECT_FLOAT_EQ(quad.v[0].tx, piece.x / 512.0f);
    EXPECT_FLOAT_EQ(quad.v[2].ty, (piece.y + piece.h) / 512.0f);
  }
  for (const auto& slot : skin->unusedSlots) EXPECT_EQ(slot, nullptr);
}

// Every piece holds artwork; the slices widgets stretch to any width are opaque (no hole lets
// the screen through the face) and repeat one column (a differing one would show as a pattern).
TEST_F(SkinCut, CommittedAtlasHoldsEveryPiece) {
  Picture image;
  ASSERT_TRUE(ReadPng("Main.png", image));
  ASSERT_EQ(image.width, 512);
  ASSERT_EQ(image.height, 512);
  for (const Piece& p : Pieces()) {
    int visible = 0, holes = 0, changes = 0;
    for (int y = p.y; y < p.y + p.h; ++y)
      for (int x = p.x; x < p.x + p.w; ++x) {
        const unsigned char* here = image.pixel(x, y);
        visible += here[3] > 0;
        holes += here[3] != 255;
        changes += !std::equal(here, here + 4, image.pixel(p.x, y));
      }
    EXPECT_GT(visible, 0) << p.name << " is empty";
    if (p.name.find("middle") == std::string::npos) continue;
    EXPECT_EQ(holes, 0) << p.name << " is not opaque everywhere";
    EXPECT_EQ(changes, 0) << p.name << " differs from column to column";
  }
}

TEST(WindowIcon, IsASquareImageWithAVisibleMark) {
  Picture icon;
  ASSERT_TRUE(ReadPng("icon100.png", icon));
  EXPECT_EQ(icon.width, icon.height);
  EXPECT_GE(icon.width, 32);
  int opaque = 0;
  for (int y = 0; y < icon.height; ++y)
    for (int x = 0; x < icon.width; ++x) opaque += icon.pixel(x, y)[3] == 255;
  EXPECT_GT(opaque, icon.width * icon.height / 2);
}

TEST(TypeIconFor, ExactNamesPickTheirIcons) {
  const std::pair<const char*, int> cases[] = {
      {"WAV", 8},  {"XMI", 8}, {"TXT", 7},
      {"PAL", 4},  {"PID", 5}, {"PCX", 5},
      {"WWD", 6},  {"ANI", 3}, {"wav", 2} /* case counts */,
      {"WAVE", 2}, {"", 2},    {"ZZZ", 2}};
  for (const auto& [name, icon] : cases) EXPECT_EQ(SHR::TypeIconFor(name), icon) << name;
}

TEST(ProgressBarValue, PercentageOfValueOverTotal) {
  SHR::ProgressBar bar(nullptr);
  const struct {
    int value, total;
    float percent;
  } cases[] = {{0, 0, 0}, {1, 4, 25}, {4, 4, 100}, {1, 3, 100.0f / 3}};
  for (const auto& c : cases) {
    bar.value = c.value;
    bar.total = c.total;  // 0 of 0 is still 0, not a division by zero
    EXPECT_FLOAT_EQ(bar.getProgress(), c.percent) << c.value << " of " << c.total;
  }
  bar.value = 3;
  bar.total = 0;
  EXPECT_TRUE(std::isinf(bar.getProgress()));
}

TEST(ContenerChildren, AddPlacesAndParentsRemoveOfAStrangerThrows) {
  SHR::Contener container, child, stranger;
  child.setId("child");
  container.add(&child, 12, 34);
  EXPECT_EQ(child.getX(), 12);
  EXPECT_EQ(child.getY(), 34);
  EXPECT_EQ(child.getParent(), &container);
  EXPECT_EQ(container.findWidgetById("child"), &child);
  try {
    container.remove(&stranger);
    FAIL() << "no exception";
  } catch (const gcn::Exception& e) {
    EXPECT_EQ(e.getMessage(), "There is no such widget in this container.");
  }
  container.remove(&child);
  EXPECT_EQ(child.getParent(), nullptr);
  EXPECT_EQ(container.findWidgetById("child"), nullptr);
  EXPECT_THROW(container.remove(&child), gcn::Exception);
  {
    SHR::Contener gone;
    gone.setId("gone");
    container.add(&gone);
  }
  EXPECT_EQ(container.findWidgetById("gone"), nullptr);  // a destroyed child leaves
}

}  // namespace
}  // namespace widgettest
