#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "ConvertTestSupport.h"
#include "convert/ImageConversion.h"
#include "convert/Placement.h"
#include "support/PidBuilder.h"

using rezbuild::FileNode;
using rezbuild::Folder;

namespace {

PidHeader Picture(std::int32_t width, std::int32_t height, std::int32_t offsetX = 0,
                  std::int32_t offsetY = 0) {
  PidHeader header;
  header.width = width;
  header.height = height;
  header.offsetX = offsetX;
  header.offsetY = offsetY;
  return header;
}

rezbuild::Node PidEntry(const std::string& name, std::int32_t width, std::int32_t height,
                        std::int32_t offsetX, std::int32_t offsetY) {
  return FileNode(
      name, "PID",
      pidbuild::Picture(width, height, std::vector<std::uint8_t>(1, 1), false, offsetX, offsetY));
}

CanvasSize CanvasOf(const std::vector<rezbuild::Node>& entries) {
  TempDir dir;
  auto parser = OpenArchive(dir, Folder("", {Folder("F", entries)}));
  return computeCommonCanvas(DirAt(*parser, "F"));
}

}  // namespace

TEST(Placement, CentredWithHalfTheOffsetTruncatedTowardZero) {
  // 10 x 10 on 30 x 20.
  EXPECT_EQ(placeOnCanvas(Picture(10, 10), 30, 20).x, 10);
  EXPECT_EQ(placeOnCanvas(Picture(10, 10), 30, 20).y, 5);
  EXPECT_EQ(placeOnCanvas(Picture(10, 10, 4), 30, 20).x, 12);
  EXPECT_EQ(placeOnCanvas(Picture(10, 10, -5), 30, 20).x, 8);   // 15 / 2 = 7
  EXPECT_EQ(placeOnCanvas(Picture(10, 10, 13), 30, 20).x, 16);  // -3 / 2 = -1, not -2
  EXPECT_EQ(placeOnCanvas(Picture(10, 10, 0, -3), 30, 20).y, 4);
  // 31 wide: the centre term is 15.
  EXPECT_EQ(placeOnCanvas(Picture(10, 10), 31, 20).x, 10);
  EXPECT_EQ(placeOnCanvas(Picture(9, 10, 2), 31, 20).x, 12);
}

TEST(Placement, OwnSizeWhenEitherCanvasSideIsUnset) {
  for (auto [width, height] :
       {std::pair{0, 0}, std::pair{100, 0}, std::pair{0, 100}, std::pair{-4, 50}}) {
    const auto placement = placeOnCanvas(Picture(10, 7, 5, 5), width, height);
    EXPECT_EQ(placement.canvasWidth, 10);
    EXPECT_EQ(placement.canvasHeight, 7);
    EXPECT_EQ(placement.x, 0);
    EXPECT_EQ(placement.y, 0);
  }
}

TEST(Placement, PictureNotSmallerThanTheCanvasSitsAtTheEdge) {
  const auto placement = placeOnCanvas(Picture(40, 20, 9, 9), 30, 20);
  EXPECT_EQ(placement.x, 0);
  EXPECT_EQ(placement.y, 0);
}

TEST(Placement, ExtremeOffsetsDoNotOverflow) {
  const std::int32_t least = std::numeric_limits<std::int32_t>::min();
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(placeOnCanvas(Picture(1, 1, least, most), 3, 3).x, 1 - (1 - std::int64_t{least}) / 2);
  EXPECT_EQ(placeOnCanvas(Picture(1, 1, least, most), 3, 3).y, 1 - (1 - std::int64_t{most}) / 2);
}

TEST(CommonCanvas, WidestPictureAndBothOffsetExtremes) {
  const auto canvas = CanvasOf({PidEntry("A", 20, 30, -3, 4), PidEntry("B", 24, 10, 5, -6)});
  EXPECT_EQ(canvas.width, 24 + 3 + 5);
  EXPECT_EQ(canvas.height, 30 + 6 + 4);
  // Every picture of the folder then lies wholly inside it.
  for (const auto& picture : {Picture(20, 30, -3, 4), Picture(24, 10, 5, -6)}) {
    const auto placement = placeOnCanvas(picture, canvas.width, canvas.height);
    EXPECT_GE(placement.x, 0);
    EXPECT_GE(placement.y, 0);
    EXPECT_LE(placement.x + picture.width, canvas.width);
    EXPECT_LE(placement.y + picture.height, canvas.height);
  }
}

TEST(CommonCanvas, SinglePictures) {
  const auto plain = CanvasOf({PidEntry("A", 12, 9, 0, 0)});
  EXPECT_EQ(plain.width, 12);
  EXPECT_EQ(plain.height, 9);
  EXPECT_EQ(placeOnCanvas(Picture(12, 9), plain.width, plain.height).x, 0);

  const auto shifted = CanvasOf({PidEntry("A", 10, 10, 6, 0)});
  EXPECT_EQ(shifted.width, 16);
  EXPECT_EQ(shifted.height, 10);
  EXPECT_EQ(placeOnCanvas(Picture(10, 10, 6, 0), shifted.width, shifted.height).x, 6);
}

TEST(CommonCanvas, OneSidedOffsetsWidenOneSideOnly) {
  const auto canvas = CanvasOf({PidEntry("A", 10, 10, -4, -1), PidEntry("B", 10, 10, -2, -7)});
  EXPECT_EQ(canvas.width, 14);
  EXPECT_EQ(canvas.height, 17);
}

TEST(CommonCanvas, OnlyConvertiblePidEntriesDirectlyInTheFolderCount) {
  std::vector<rezbuild::Node> entries{
      PidEntry("A", 10, 10, 0, 0),
      FileNode("LOWER", "pid", pidbuild::Picture(50, 50, {}, false)),
      FileNode("OTHER", "PCX", pidbuild::Picture(50, 50, {}, false)),
      FileNode("SHORT", "PID", std::vector<unsigned char>(31, 0x7F)),
      PidEntry("HUGE", std::numeric_limits<std::int32_t>::max(), 10, 0, 0),
      PidEntry("EMPTY", 0, 10, 99, 99),
      Folder("SUB", {PidEntry("C", 60, 60, 0, 0)}),
  };
  const auto canvas = CanvasOf(entries);
  EXPECT_EQ(canvas.width, 10);
  EXPECT_EQ(canvas.height, 10);
  EXPECT_EQ(CanvasOf({}).width, 0);
  EXPECT_EQ(CanvasOf({Folder("SUB", {PidEntry("C", 60, 60, 0, 0)})}).height, 0);
}

TEST(CommonCanvas, ExtremeOffsetsSaturateInsteadOfWrapping) {
  const std::int32_t least = std::numeric_limits<std::int32_t>::min();
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  const auto canvas =
      CanvasOf({PidEntry("A", 10, 10, least, most), PidEntry("B", 10, 10, most, 0)});
  EXPECT_EQ(canvas.width, most);
  EXPECT_EQ(canvas.height, most);
}
