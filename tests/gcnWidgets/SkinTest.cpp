#include <cmath>
#include <guichan/exception.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wProgressBar.h"

namespace widgettest {
namespace {

struct Piece {
  const Sprite* sprite;
  float x, y, w, h;
};

void ExpectRect(const Piece& piece, const char* name) {
  SCOPED_TRACE(name);
  ASSERT_NE(piece.sprite, nullptr);
  float x = -1, y = -1, w = -1, h = -1;
  piece.sprite->GetTextureRect(&x, &y, &w, &h);
  EXPECT_EQ(x, piece.x);
  EXPECT_EQ(y, piece.y);
  EXPECT_EQ(w, piece.w);
  EXPECT_EQ(h, piece.h);
  const hgeQuad& quad = piece.sprite->GetQuad();
  EXPECT_FLOAT_EQ(quad.v[0].tx, piece.x / 512);
  EXPECT_FLOAT_EQ(quad.v[2].ty, (piece.y + piece.h) / 512);
}

using SkinCut = WidgetTest;

TEST_F(SkinCut, EveryRecordPieceHasItsRectangle) {
  const SHR::cSkin& s = *skin;
  const Piece pieces[] = {
      {s.arrowPointer.get(), 175, 135, 15, 22},
      {s.handPointer.get(), 158, 135, 17, 24},
      {s.fieldBox.left.get(), 0, 275, 3, 24},
      {s.fieldBox.middle.get(), 3, 275, 3, 24},
      {s.fieldBox.right.get(), 47, 275, 3, 24},
      {s.radioOff.get(), 0, 131, 13, 14},
      {s.radioOn.get(), 0, 145, 13, 14},
      {s.buttonNormal.left.get(), 0, 6, 4, 33},
      {s.buttonNormal.middle.get(), 4, 6, 4, 33},
      {s.buttonNormal.right.get(), 136, 6, 4, 33},
      {s.buttonHover.left.get(), 102, 39, 4, 33},
      {s.buttonHover.middle.get(), 106, 39, 4, 33},
      {s.buttonHover.right.get(), 132, 39, 4, 33},
      {s.buttonDisabled.left.get(), 34, 39, 4, 33},
      {s.buttonDisabled.middle.get(), 38, 39, 4, 33},
      {s.buttonDisabled.right.get(), 64, 39, 4, 33},
      {s.buttonPressed.left.get(), 68, 39, 4, 33},
      {s.buttonPressed.middle.get(), 72, 39, 4, 33},
      {s.buttonPressed.right.get(), 98, 39, 4, 33},
      {s.barFill.left.get(), 50, 275, 3, 31},
      {s.barFill.middle.get(), 53, 275, 3, 31},
      {s.barFill.right.get(), 59, 275, 3, 31},
      {s.barTrack.left.get(), 72, 275, 3, 31},
      {s.barTrack.middle.get(), 64, 275, 3, 31},
      {s.barTrack.right.get(), 69, 275, 3, 31},
      {s.infoSymbol.get(), 320, 0, 64, 64},
      {s.warningSymbol.get(), 320, 69, 64, 64},
      {s.errorSymbol.get(), 384, 69, 64, 64},
      {s.closeCross.get(), 153, 39, 20, 20},
      {s.checkBoxOff.get(), 0, 105, 13, 13},
      {s.checkBoxOn.get(), 0, 118, 14, 13},
  };
  int index = 0;
  for (const Piece& piece : pieces) ExpectRect(piece, std::to_string(index++).c_str());
  for (const auto& slot : s.unusedSlots) EXPECT_EQ(slot, nullptr);
  for (const Piece& piece : pieces) EXPECT_EQ(piece.sprite->GetTexture(), atlas);
}

TEST_F(SkinCut, ScreenArtBesideTheRecord) {
  auto art = SHR::CutScreenArt(atlas);
  ExpectRect({art->titleLogo.get(), 0, 455, 287, 35}, "logo");
  ExpectRect({art->infoIcon.get(), 13, 138, 14, 14}, "info");
  ExpectRect({art->typeIcons[0].get(), 50, 338, 16, 16}, "0");
  ExpectRect({art->typeIcons[1].get(), 66, 338, 16, 16}, "1");
  ExpectRect({art->typeIcons[5].get(), 66, 370, 16, 16}, "5");
  ExpectRect({art->typeIcons[8].get(), 50, 402, 16, 16}, "8");
  ExpectRect({art->typeIcons[9].get(), 66, 402, 16, 16}, "9");
}

TEST(TypeIconFor, ExactNamesPickTheirIcons) {
  EXPECT_EQ(SHR::TypeIconFor("WAV"), 8);
  EXPECT_EQ(SHR::TypeIconFor("XMI"), 8);
  EXPECT_EQ(SHR::TypeIconFor("TXT"), 7);
  EXPECT_EQ(SHR::TypeIconFor("PAL"), 4);
  EXPECT_EQ(SHR::TypeIconFor("PID"), 5);
  EXPECT_EQ(SHR::TypeIconFor("PCX"), 5);
  EXPECT_EQ(SHR::TypeIconFor("WWD"), 6);
  EXPECT_EQ(SHR::TypeIconFor("ANI"), 3);
  EXPECT_EQ(SHR::TypeIconFor("wav"), 2);  // case counts
  EXPECT_EQ(SHR::TypeIconFor("WAVE"), 2);
  EXPECT_EQ(SHR::TypeIconFor(""), 2);
  EXPECT_EQ(SHR::TypeIconFor("ZZZ"), 2);
}

TEST(ProgressBarValue, PercentageOfValueOverTotal) {
  SHR::ProgressBar bar(nullptr);
  EXPECT_EQ(bar.getProgress(), 0.0f);
  bar.total = 0;  // nothing to do yet: still 0, not a division by zero
  EXPECT_EQ(bar.getProgress(), 0.0f);
  bar.total = 4;
  bar.value = 1;
  EXPECT_FLOAT_EQ(bar.getProgress(), 25.0f);
  bar.value = 4;
  EXPECT_FLOAT_EQ(bar.getProgress(), 100.0f);
  bar.total = 3;
  bar.value = 1;
  EXPECT_FLOAT_EQ(bar.getProgress(), 100.0f / 3);
  bar.total = 0;
  bar.value = 3;
  EXPECT_TRUE(std::isinf(bar.getProgress()));
  EXPECT_EQ(bar.getAlpha(), 255);
}

TEST(ContenerChildren, AddPlacesAndParentsRemoveOfAStrangerThrows) {
  SHR::Contener container;
  EXPECT_TRUE(container.isOpaque());
  container.setOpaque(false);
  EXPECT_FALSE(container.isOpaque());
  SHR::Contener child, stranger;
  child.setId("child");
  container.add(&child, 12, 34);
  EXPECT_EQ(child.getX(), 12);
  EXPECT_EQ(child.getY(), 34);
  EXPECT_EQ(child.getParent(), &container);
  EXPECT_EQ(container.findWidgetById("child"), &child);
  EXPECT_EQ(container.findWidgetById("none"), nullptr);
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
}

TEST(ContenerChildren, ADestroyedChildLeavesTheContainer) {
  SHR::Contener container;
  {
    SHR::Contener child;
    child.setId("gone");
    container.add(&child);
  }
  EXPECT_EQ(container.findWidgetById("gone"), nullptr);
}

}  // namespace
}  // namespace widgettest
