// Which folders and files the worker writes, under which names, with which
// palette, and how it asks before replacing what is on disk.
#include <gtest/gtest.h>

#include "convert/ImageConversion.h"
#include "tests/extract/ExtractTestSupport.h"

using namespace rezbuild;
using namespace extracttest;
namespace fs = std::filesystem;

namespace {

using ExtractWalk = ExtractTest;

// Names are decoded from Windows-1252; types match case-sensitively, so a
// lower-case "pid" is no picture; names without a type are never selected;
// folders without selected files are not made (ExtractCommand covers the
// empty-folders option).
TEST_F(ExtractWalk, MirrorsTheSelectedTreeWithDecodedNamesAndCountsEveryFile) {
  auto archive =
      Open(Folder("", {FileNode("ROOTFILE", "TXT", "at the root"), FileNode("NOTYPE", "", "n"),
                       FileNode("lower", "wav", "l"), FileNode("PIC", "pid", "raw"),
                       Folder("CAF\xC9", {FileNode("NA\xCFVE", "WAV", "riff"),
                                          Folder("SUB", {FileNode("DEEP", "TXT", "d")})}),
                       Folder("LEVEL2", {FileNode("FRAME", "PID", MakePid(1, 1))}),
                       Folder("SOUNDS", {FileNode("A", "wav", "a"), Folder("INNER", {})})}));
  auto options = OptionsFor(*archive, {"TXT", "WAV", "pid", "PID"});
  options.convertPid = true;
  const auto job = Run(archive, options);
  EXPECT_EQ(ReadPng(destination / "LEVEL2" / "FRAME.png").width, 1u);
  WriteText(destination / "LEVEL2" / "FRAME.png", "png");
  EXPECT_EQ(TreeOf(destination), (Tree{{"ROOTFILE.TXT", "at the root"},
                                       {"PIC.pid", "raw"},
                                       {"CAF\xC3\x89/", ""},
                                       {"CAF\xC3\x89/NA\xC3\x8FVE.WAV", "riff"},
                                       {"CAF\xC3\x89/SUB/", ""},
                                       {"CAF\xC3\x89/SUB/DEEP.TXT", "d"},
                                       {"LEVEL2/", ""},
                                       {"LEVEL2/FRAME.png", "png"}}));
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
  EXPECT_EQ(job->Result().written, 5);
  EXPECT_EQ(CountsOf(*job), std::make_pair(5, 5));
  EXPECT_TRUE(questions->failures.empty());
}

// Which palette a folder switches to is PaletteSwitch's; the walk offers only
// walked top-level folders: not the root, nor a folder without selected files.
TEST_F(ExtractWalk, PicturesAreDrawnWithThePaletteOfTheLastWalkedTopLevelFolder) {
  const Palette distinct = pidbuild::DistinctPalette();
  const auto pal = [](std::vector<unsigned char> bytes) {
    return Folder("PALETTES", {FileNode("MAIN", "PAL", bytes)});
  };
  auto archive = Open(Folder(
      "",
      {pal(std::vector<unsigned char>(768, 200)),
       Folder("FIRST",
              {pal({distinct.bytes.begin(), distinct.bytes.end()}), FileNode("S", "WAV", "s")}),
       Folder("SKIPPED", {pal(std::vector<unsigned char>(768, 100)), FileNode("T", "TXT", "t")}),
       Folder("SECOND", {FileNode("P", "PID", pidbuild::Picture(2, 1, {5, 0}, true))})}));
  auto options = OptionsFor(*archive, {"WAV", "PID"});
  options.convertPid = true;
  currentPalette.reset();
  testing::internal::CaptureStdout();
  const auto job = Run(archive, options);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Switched to palette from: FIRST\n");
  EXPECT_EQ(ReadPng(destination / "SECOND" / "P.png").At(0, 0), (Rgba{5, 250, 2, 255}));
  // The job's own palette; the process-wide one is left alone.
  EXPECT_TRUE(job->context.palette.has_value());
  EXPECT_FALSE(currentPalette.has_value());
}

TEST_F(ExtractWalk, PngTargetsFollowTheOverwriteRuleAndCollidingNamesAreAsked) {
  // The picture X.PID and the file X.png both want the name X.png.
  auto archive = Open(Folder("", {Folder("IMAGES", {FileNode("FRAME", "PID", MakePid(3, 2)),
                                                    FileNode("X", "PID", MakePid(1, 1)),
                                                    FileNode("X", "png", Bytes("raw"))})}));
  fs::create_directory(destination / "IMAGES");
  WriteText(destination / "IMAGES" / "FRAME.png", "old picture");
  auto options = OptionsFor(*archive);
  options.convertPid = true;
  for (const auto answer : {OverwriteAnswer::No, OverwriteAnswer::Yes}) {
    questions->overwriteQuestions.clear();
    questions->overwriteAnswers = {answer, answer, answer};
    const auto job = Run(archive, options);
    const bool yes = answer == OverwriteAnswer::Yes;
    // The second round also meets the first round's X.png.
    ASSERT_EQ(questions->overwriteQuestions.size(), yes ? 3u : 2u);
    EXPECT_EQ(questions->overwriteQuestions[0].rfind("File FRAME.png in:\n\\\\IMAGES\n", 0), 0u);
    EXPECT_EQ(questions->overwriteQuestions[1].rfind("File X.png in:", 0), 0u);
    EXPECT_EQ(ReadFile(destination / "IMAGES" / "FRAME.png") == "old picture", !yes);
    if (yes)
      EXPECT_EQ(ReadFile(destination / "IMAGES" / "X.png"), "raw");
    else
      EXPECT_EQ(ReadPng(destination / "IMAGES" / "X.png").width, 1u);
    EXPECT_EQ(job->Result().kept, yes ? 0 : 2);
  }
  EXPECT_EQ(ReadPng(destination / "IMAGES" / "FRAME.png").width, 3u);
}

}  // namespace
