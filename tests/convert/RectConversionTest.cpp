// Rect conversion: every picture of a folder on one canvas, placed as the
// games draw it (centre at anchor + offset), so that the anchors coincide.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "ConvertTestSupport.h"
#include "convert/ImageConversion.h"
#include "convert/Placement.h"
#include "support/TempDir.h"
#include "tests/extract/ExtractTestSupport.h"

using rezbuild::FileNode;
using rezbuild::Folder;

namespace {

rezbuild::Node Pid(const std::string& name, std::int32_t width, std::int32_t height,
                   std::int32_t offsetX, std::int32_t offsetY) {
  return FileNode(name, "PID", extracttest::MakePid(width, height, offsetX, offsetY));
}

// "WxH" of the folder's canvas, then "x,y" of each of its PID entries.
std::string Layout(const std::vector<rezbuild::Node>& entries, bool withPositions = true) {
  TempDir dir;
  auto parser = extracttest::OpenBuilt(dir / "a.rez", Folder("", {Folder("F", entries)}));
  const CommonCanvas canvas =
      computeCommonCanvas(static_cast<const REZ::Dir&>(*parser->Root().GetElement("F")));
  std::string text = canvas.tooLarge
                         ? "too large " + std::to_string(canvas.wantedWidth) + "x" +
                               std::to_string(canvas.wantedHeight)
                         : std::to_string(canvas.width) + "x" + std::to_string(canvas.height);
  for (const auto& entry : entries) {
    if (!withPositions) break;
    if (entry.isDir || entry.type != "PID" || entry.data.size() < PidHeader::kBytes) continue;
    const auto header = readPidHeader(entry.data.data(), entry.data.size());
    const auto placed = placeOnCanvas(*header, canvas);
    text += " " + std::to_string(placed.x) + "," + std::to_string(placed.y);
  }
  return text;
}

}  // namespace

TEST(RectCanvas, WorkedExamples) {
  // Boxes: left = offsetX - width / 2, top = offsetY - height / 2.
  EXPECT_EQ(Layout({Pid("A", 20, 30, -3, 4), Pid("B", 24, 10, 5, -6)}), "30x30 0,0 6,0");
  EXPECT_EQ(Layout({Pid("A", 10, 10, 0, 0), Pid("B", 10, 10, 10, 0)}), "20x10 0,0 10,0");
  // Odd sizes: 7 / 2 = 3 and 5 / 2 = 2.
  EXPECT_EQ(Layout({Pid("A", 7, 5, 0, 0), Pid("B", 4, 4, -1, 1)}), "7x5 0,0 0,1");
}

TEST(RectCanvas, OnlyPicturesDirectlyInTheFolderWithinTheCapCount) {
  const auto big = extracttest::MakePid(50, 50, 40, 40);
  EXPECT_EQ(
      Layout({Pid("A", 10, 10, 0, 0),
              // The first 31 bytes of a header: the 32nd would be another entry's.
              FileNode("SHORT", "PID", std::vector<unsigned char>(big.begin(), big.begin() + 31)),
              FileNode("LOWER", "pid", big), FileNode("OTHER", "PCX", big),
              Pid("HUGE", 5000, 5000, 0, 0),  // 25 M pixels, sides within 16384
              Pid("WIDE", 16385, 1, 0, 0), Pid("EMPTY", 0, 10, 99, 99),
              Folder("SUB", {Pid("C", 60, 60, 0, 0)})},
             false),
      "10x10");
  // A folder without such a picture has no canvas: each picture keeps its size.
  EXPECT_EQ(Layout({Folder("SUB", {Pid("C", 60, 60, 0, 0)})}), "0x0");
}

TEST(RectCanvas, CanvasBeyondTheCapIsNotMadeAndNothingOverflows) {
  const std::int32_t least = std::numeric_limits<std::int32_t>::min();
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(Layout({Pid("A", 10, 10, -9000, 0), Pid("B", 10, 10, 9000, 0)}),
            "too large 18010x10 0,0 0,0");
  // Sides within the cap, 20.7 M pixels in all.
  EXPECT_EQ(Layout({Pid("A", 4096, 4096, 0, 0), Pid("B", 1, 1, 0, 3000)}),
            "too large 4096x5049 0,0 0,0");
  EXPECT_EQ(Layout({Pid("A", 10, 10, least, most), Pid("B", 10, 10, most, least)}),
            "too large " + std::to_string(std::int64_t{most} - least + 10) + "x" +
                std::to_string(std::int64_t{most} - least + 10) + " 0,0 0,0");
}

TEST(RectExtraction, TooLargeCanvasIsReportedOnceAndOnlyWhenPicturesAreConverted) {
  TempDir dir;
  auto archive = extracttest::OpenBuilt(
      dir / "a.rez",
      Folder("", {Folder("WIDE", {Pid("A", 10, 10, -9000, 0), Pid("B", 12, 10, 9000, 0)})}));
  auto options = extracttest::OptionsFor(*archive);
  options.rectConversion = true;
  for (const bool convert : {false, true}) {
    options.convertPid = convert;
    auto questions = std::make_shared<extracttest::ScriptedQuestions>();
    std::filesystem::remove_all(dir / "out");
    std::filesystem::create_directory(dir / "out");
    auto job = extracttest::RunJob(archive, options, dir / "out", questions);
    EXPECT_EQ(job->result.failed, 0);
    if (!convert) {
      EXPECT_TRUE(questions->failures.empty()) << questions->failures.front();
      continue;
    }
    ASSERT_EQ(questions->failures.size(), 1u);
    EXPECT_NE(questions->failures[0].find("\\\\WIDE: the common canvas would be 18011 x 10"),
              std::string::npos)
        << questions->failures[0];
    EXPECT_EQ(ReadPng(dir / "out" / "WIDE" / "B.png").width, 12u);
  }
}
