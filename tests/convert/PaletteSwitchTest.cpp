// Which palette pictures without their own are drawn with: a top-level
// folder's PALETTES/MAIN.PAL, else the one the user chose.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ConvertTestSupport.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "support/TempDir.h"
#include "tests/cli/CliRun.h"
#include "tests/extract/ExtractTestSupport.h"

using rezbuild::FileNode;
using rezbuild::Folder;

namespace {

std::vector<unsigned char> Counting(std::size_t size, unsigned start = 1) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(start + i * 7);
  return bytes;
}

rezbuild::Node Palettes(std::vector<rezbuild::Node> entries) {
  return Folder("PALETTES", std::move(entries));
}

class PaletteSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    currentPalette.reset();
    SetDiagnosticsEnabled(true);
  }
  void TearDown() override { currentPalette.reset(); }
  TempDir dir;
};

}  // namespace

TEST_F(PaletteSwitch, TopLevelMainPalBecomesCurrentAndABrokenOneIsReported) {
  // A folder without one, a deeper PALETTES folder and a short MAIN.PAL are the
  // extraction walk's cases.
  const auto good = Counting(768), longOne = Counting(1024, 3);
  auto parser = extracttest::OpenBuilt(
      dir / "a.rez",
      Folder("", {Folder("GOOD", {Palettes({FileNode("MAIN", "PAL", good)})}),
                  Folder("LOWER", {Folder("palettes", {FileNode("MAIN", "PAL", longOne)})}),
                  Folder("ASFOLDER", {Palettes({Folder("MAIN.PAL")})}),
                  Folder("LONG", {Palettes({FileNode("MAIN", "PAL", longOne)})})}));
  // The current palette after each folder, and whether the folder's own was broken.
  const std::tuple<const char*, const std::vector<unsigned char>&, bool> cases[] = {
      {"GOOD", good, false},
      {"LOWER", good, false},
      {"ASFOLDER", good, false},
      {"LONG", longOne, true}};
  for (const auto& [folder, current, broken] : cases) {
    const std::string name = folder;
    const bool switches = name == "GOOD" || broken;
    ::testing::internal::CaptureStdout();
    switchPaletteFrom(static_cast<const REZ::Dir&>(*parser->Root().GetElement(name)));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              (broken ? "Error: palette found in " + name + " is broken!\n" : "") +
                  (switches ? "Switched to palette from: " + name + "\n" : ""));
    std::vector<unsigned char> expected(
        current.begin(), current.begin() + std::min<std::size_t>(768, current.size()));
    expected.resize(768, 0);
    ASSERT_TRUE(currentPalette);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), currentPalette->bytes.begin()))
        << name;
  }
}

TEST_F(PaletteSwitch, ChosenPaletteServesUntilAMainPalEvenOneWhoseFolderCannotBeMade) {
  // FIRST has no palette: the chosen one. BLOCKED cannot be made on disk (a
  // file holds its name) but its MAIN.PAL still serves AFTER.
  Palette chosen{};
  chosen.bytes.fill(10);
  const auto picture = pidbuild::Picture(1, 1, {5}, false);
  auto archive = extracttest::OpenBuilt(
      dir / "a.rez",
      Folder("", {Folder("FIRST", {FileNode("A", "PID", picture)}),
                  Folder("BLOCKED",
                         {Palettes({FileNode("MAIN", "PAL", std::vector<unsigned char>(768, 200))}),
                          FileNode("B", "PID", picture)}),
                  Folder("AFTER", {FileNode("C", "PID", picture)})}));
  std::filesystem::create_directory(dir / "out");
  extracttest::WriteText(dir / "out" / "BLOCKED", "in the way");
  auto options = extracttest::OptionsFor(*archive, {"PID"});
  options.convertPid = true;
  options.fallbackPalette = chosen;
  ::testing::internal::CaptureStdout();
  auto job = extracttest::RunJob(archive, options, dir / "out",
                                 std::make_shared<extracttest::ScriptedQuestions>());
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(job->result.failed, 1);
  EXPECT_EQ(ReadPng(dir / "out" / "FIRST" / "A.png").At(0, 0), (Rgba{10, 10, 10, 255}));
  EXPECT_EQ(ReadPng(dir / "out" / "AFTER" / "C.png").At(0, 0), (Rgba{200, 200, 200, 255}));
}

TEST(PaletteOption, ArchiveEntryOrPalFileElseAUsageError) {
  TempDir dir;
  std::vector<unsigned char> red(768, 0), disk(768, 0);
  red[3 * 5] = 255;
  disk[3 * 5 + 2] = 99;
  rezbuild::Write(
      dir / "a.rez",
      Folder("", {Folder("GRUNTZ",
                         {Folder("PALETTEZ", {FileNode("REDTOY", "PAL", red),
                                              FileNode("CUT", "PAL", Counting(700))}),
                          Folder("IMAGES",
                                 {FileNode("A", "PID", pidbuild::Picture(1, 1, {5}, false))})})}));
  rezbuild::WriteBytes(dir / "mine.pal", disk);
  rezbuild::WriteBytes(dir / "long.pal", std::vector<unsigned char>(769, 1));
  const struct {
    std::string palette;
    int exitCode;
    std::string errorOrPixel;
  } cases[] = {{"GRUNTZ/PALETTEZ/REDTOY.PAL", 0, "255,0,0"},
               {(dir / "mine.pal").string(), 0, "0,0,99"},
               {"GRUNTZ/PALETTEZ/CUT.PAL", 2, "CUT.PAL holds 700 bytes; a palette holds 768"},
               {(dir / "long.pal").string(), 2, "holds more than 768 bytes"},
               {"GRUNTZ/IMAGES/A.PID", 2, "is neither a PAL entry of the archive nor a .PAL file"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.palette);
    std::filesystem::remove_all(dir / "out");
    const CliRun run =
        RunCli(dir.path(), {"extract", (dir / "a.rez").string(), (dir / "out").string(), "--png",
                            "--quiet", "--palette=" + c.palette});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    if (c.exitCode != 0) {
      EXPECT_NE(run.err.find("--palette: "), std::string::npos) << run.err;
      EXPECT_NE(run.err.find(c.errorOrPixel), std::string::npos) << run.err;
      continue;
    }
    const Rgba pixel = ReadPng(dir / "out" / "GRUNTZ" / "IMAGES" / "A.png").At(0, 0);
    EXPECT_EQ(
        std::to_string(pixel[0]) + "," + std::to_string(pixel[1]) + "," + std::to_string(pixel[2]),
        c.errorOrPixel);
  }
}
