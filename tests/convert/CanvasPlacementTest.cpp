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

std::string Place(const PidHeader& picture, std::int32_t canvasWidth, std::int32_t canvasHeight) {
  const auto placed = placeOnCanvas(picture, canvasWidth, canvasHeight);
  return std::to_string(placed.canvasWidth) + "x" + std::to_string(placed.canvasHeight) + " at " +
         std::to_string(placed.x) + "," + std::to_string(placed.y);
}

std::string Text(const CanvasSize& canvas) {
  return std::to_string(canvas.width) + "x" + std::to_string(canvas.height);
}

CanvasSize CanvasOf(const std::vector<rezbuild::Node>& entries) {
  TempDir dir;
  auto parser = OpenArchive(dir, Folder("", {Folder("F", entries)}));
  return computeCommonCanvas(DirAt(*parser, "F"));
}

}  // namespace

TEST(Placement, CentredWithHalfTheOffsetTruncatedTowardZero) {
  EXPECT_EQ(Place(Picture(10, 10), 30, 20), "30x20 at 10,5");
  EXPECT_EQ(Place(Picture(10, 10, 4, -3), 30, 20), "30x20 at 12,4");
  EXPECT_EQ(Place(Picture(10, 10, -5), 30, 20), "30x20 at 8,5");   // 15 / 2 = 7
  EXPECT_EQ(Place(Picture(10, 10, 13), 30, 20), "30x20 at 16,5");  // -3 / 2 = -1, not -2
  EXPECT_EQ(Place(Picture(10, 10), 31, 20), "31x20 at 10,5");      // the centre term is 15
  EXPECT_EQ(Place(Picture(9, 10, 2), 31, 20), "31x20 at 12,5");
  // A picture not smaller than the canvas sits at the edge.
  EXPECT_EQ(Place(Picture(40, 20, 9, 9), 30, 20), "30x20 at 0,0");
  // Either canvas side unset: the picture's own size.
  for (auto [width, height] :
       std::initializer_list<std::pair<int, int>>{{0, 0}, {100, 0}, {0, 100}, {-4, 50}})
    EXPECT_EQ(Place(Picture(10, 7, 5, 5), width, height), "10x7 at 0,0") << width << "x" << height;
  // Extreme offsets do not overflow.
  const std::int64_t least = std::numeric_limits<std::int32_t>::min();
  const std::int64_t most = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(
      Place(Picture(1, 1, std::int32_t(least), std::int32_t(most)), 3, 3),
      "3x3 at " + std::to_string(1 - (1 - least) / 2) + "," + std::to_string(1 - (1 - most) / 2));
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

TEST(CommonCanvas, SinglePicturesAndOneSidedOffsets) {
  EXPECT_EQ(Text(CanvasOf({PidEntry("A", 12, 9, 0, 0)})), "12x9");
  EXPECT_EQ(Text(CanvasOf({PidEntry("A", 10, 10, 6, 0)})), "16x10");
  EXPECT_EQ(Place(Picture(10, 10, 6, 0), 16, 10), "16x10 at 6,0");
  EXPECT_EQ(Text(CanvasOf({PidEntry("A", 10, 10, -4, -1), PidEntry("B", 10, 10, -2, -7)})),
            "14x17");
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
  EXPECT_EQ(Text(CanvasOf(entries)), "10x10");
  EXPECT_EQ(Text(CanvasOf({})), "0x0");
  EXPECT_EQ(Text(CanvasOf({Folder("SUB", {PidEntry("C", 60, 60, 0, 0)})})), "0x0");
}

TEST(CommonCanvas, ExtremeOffsetsSaturateInsteadOfWrapping) {
  const std::int32_t least = std::numeric_limits<std::int32_t>::min();
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(Text(CanvasOf({PidEntry("A", 10, 10, least, most), PidEntry("B", 10, 10, most, 0)})),
            Text({most, most}));
}
