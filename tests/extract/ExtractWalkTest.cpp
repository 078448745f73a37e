#include <gtest/gtest.h>

#include "convert/ImageConversion.h"
#include "extract/ExtractWorker.h"
#include "support/PidBuilder.h"
#include "support/TempDir.h"
#include "tests/convert/ConvertTestSupport.h"
#include "tests/extract/ExtractTestSupport.h"

using namespace rezbuild;
using namespace extracttest;
using Tree = std::map<std::string, std::string>;
namespace fs = std::filesystem;

namespace {

class ExtractWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    currentPalette.reset();
    std::filesystem::create_directory(destination);
  }
  void TearDown() override { currentPalette.reset(); }

  std::shared_ptr<REZ::Parser> Open(const Node& root) { return OpenBuilt(temp / "a.rez", root); }

  std::shared_ptr<ExtractJob> Run(std::shared_ptr<REZ::Parser> archive,
                                  const ExtractOptions& options) {
    return RunJob(std::move(archive), options, destination, questions);
  }

  TempDir temp;
  std::filesystem::path destination = temp / "out";
  std::shared_ptr<extracttest::ScriptedQuestions> questions =
      std::make_shared<extracttest::ScriptedQuestions>();
};

TEST_F(ExtractWalk, MirrorsTheTreeAndCountsEveryFile) {
  auto archive = Open(Folder(
      "", {FileNode("ROOTFILE", "TXT", "at the root"),
           Folder("LEVEL1", {FileNode("SOUND", "WAV", "riff"),
                             Folder("SUB", {FileNode("DEEP", "TXT", "d")})}),
           Folder("LEVEL2", {FileNode("B", "WAV", "bb"), FileNode("FRAME", "PID", "raw")})}));
  // Rect conversion alone converts nothing.
  auto options = OptionsFor(*archive);
  options.rectConversion = true;
  const auto job = Run(archive, options);

  EXPECT_EQ(TreeOf(destination), (Tree{{"ROOTFILE.TXT", "at the root"},
                                       {"LEVEL1/", ""},
                                       {"LEVEL1/SOUND.WAV", "riff"},
                                       {"LEVEL1/SUB/", ""},
                                       {"LEVEL1/SUB/DEEP.TXT", "d"},
                                       {"LEVEL2/", ""},
                                       {"LEVEL2/B.WAV", "bb"},
                                       {"LEVEL2/FRAME.PID", "raw"}}));
  EXPECT_TRUE(job->IsDone());
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
  EXPECT_EQ(job->Result().written, 5);
  EXPECT_EQ(CurrentOf(*job), 5);
  EXPECT_EQ(TotalOf(*job), 5);
  EXPECT_TRUE(questions->failures.empty());
}

TEST_F(ExtractWalk, FoldersWithoutSelectedFilesAreLeftOutUnlessEmptyFoldersIsOn) {
  const Node tree = Folder("", {Folder("SOUNDS", {FileNode("A", "WAV", "a")}),
                                Folder("TEXTS", {FileNode("T", "TXT", "t"), Folder("INNER", {})}),
                                Folder("EMPTY", {Folder("EMPTIER", {})})});
  auto archive = Open(tree);
  const auto soundsOnly = OptionsFor(*archive, {"WAV"});
  Run(archive, soundsOnly);
  EXPECT_EQ(TreeOf(destination), (Tree{{"SOUNDS/", ""}, {"SOUNDS/A.WAV", "a"}}));

  std::filesystem::remove_all(destination);
  std::filesystem::create_directory(destination);
  auto withEmpty = soundsOnly;
  withEmpty.extractEmptyFolders = true;
  const auto job = Run(archive, withEmpty);
  // Every folder is made, but files of unselected types are still not written.
  EXPECT_EQ(TreeOf(destination), (Tree{{"SOUNDS/", ""},
                                       {"SOUNDS/A.WAV", "a"},
                                       {"TEXTS/", ""},
                                       {"TEXTS/INNER/", ""},
                                       {"EMPTY/", ""},
                                       {"EMPTY/EMPTIER/", ""}}));
  EXPECT_EQ(CurrentOf(*job), 1);
}

TEST_F(ExtractWalk, TypesMatchCaseSensitivelyAndNamesWithoutTypeAreSkipped) {
  auto archive =
      Open(Folder("", {FileNode("UPPER", "WAV", "U"), FileNode("lower", "wav", "l"),
                       FileNode("PIC", "pid", "raw pid bytes"), FileNode("NOTYPE", "", "n")}));
  auto options = OptionsFor(*archive, {"WAV", "pid"});
  options.convertPid = true;  // lower-case pid is not a picture type
  const auto job = Run(archive, options);
  EXPECT_EQ(TreeOf(destination), (Tree{{"UPPER.WAV", "U"}, {"PIC.pid", "raw pid bytes"}}));
  EXPECT_EQ(CurrentOf(*job), 2);
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
}

struct OverwriteCase {
  const char* name;
  std::vector<OverwriteAnswer> answers;
  std::string expectedA, expectedB;
  std::size_t questionsAsked;
  std::int32_t written, kept;
};

void PrintTo(const OverwriteCase& overwriteCase, std::ostream* out) {
  *out << overwriteCase.name;
}

class ExtractOverwrite : public ExtractWalk, public ::testing::WithParamInterface<OverwriteCase> {};

// The folder holds A.WAV twice, then B.WAV; B.WAV already exists on disk. The
// second A.WAV meets the first on disk.
TEST_P(ExtractOverwrite, EachAnswerDoesWhatItSays) {
  const OverwriteCase& c = GetParam();
  auto archive =
      Open(Folder("", {Folder("L", {FileNode("A", "WAV", "first"), FileNode("A", "WAV", "second"),
                                    FileNode("B", "WAV", "new b")})}));
  std::filesystem::create_directory(destination / "L");
  WriteText(destination / "L" / "B.WAV", "old b");
  questions->overwriteAnswers.assign(c.answers.begin(), c.answers.end());

  const auto job = Run(archive, OptionsFor(*archive));
  EXPECT_EQ(ReadFile(destination / "L" / "A.WAV"), c.expectedA);
  EXPECT_EQ(ReadFile(destination / "L" / "B.WAV"), c.expectedB);
  EXPECT_EQ(questions->overwriteQuestions.size(), c.questionsAsked);
  EXPECT_EQ(job->Result().written, c.written);
  EXPECT_EQ(job->Result().kept, c.kept);
  EXPECT_EQ(CurrentOf(*job), 3);
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExtractOverwrite,
    ::testing::Values(
        OverwriteCase{
            "Yes", {OverwriteAnswer::Yes, OverwriteAnswer::Yes}, "second", "new b", 2, 3, 0},
        OverwriteCase{"No", {OverwriteAnswer::No, OverwriteAnswer::No}, "first", "old b", 2, 1, 2},
        OverwriteCase{"All", {OverwriteAnswer::OverwriteAll}, "second", "new b", 1, 3, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtractWalk, QuestionNamesTheRootAsOneBackslashAndDeeperFoldersByPath) {
  auto archive = Open(Folder("", {FileNode("R", "TXT", "r"),
                                  Folder("TOP", {Folder("MID", {FileNode("M", "TXT", "m")})})}));
  WriteText(destination / "R.TXT", "old");
  std::filesystem::create_directories(destination / "TOP" / "MID");
  WriteText(destination / "TOP" / "MID" / "M.TXT", "old");
  Run(archive, OptionsFor(*archive));
  ASSERT_EQ(questions->overwriteQuestions.size(), 2u);
  EXPECT_EQ(questions->overwriteQuestions[0],
            "File R.TXT in:\n\\\nalready exits. Do you want to overwrite it?\n"
            "Press 'Cancel' to overwrite all.");
  EXPECT_EQ(questions->overwriteQuestions[1],
            "File M.TXT in:\n\\\\TOP\\MID\nalready exits. Do you want to overwrite it?\n"
            "Press 'Cancel' to overwrite all.");
}

std::vector<unsigned char> PaletteFile(const Palette& palette) {
  return std::vector<unsigned char>(palette.bytes.begin(), palette.bytes.end());
}

// Only palettes directly in walked top-level folders count: not one at the
// root, in a deeper folder or in a folder without selected files.
TEST_F(ExtractWalk, PicturesAreDrawnWithThePaletteOfTheLastWalkedTopLevelFolder) {
  Palette deep;
  deep.bytes.fill(200);
  Palette skipped;
  skipped.bytes.fill(100);
  auto archive = Open(Folder(
      "",
      {Folder("PALETTES", {FileNode("MAIN", "PAL", PaletteFile(deep))}),
       Folder(
           "FIRST",
           {Folder("PALETTES", {FileNode("MAIN", "PAL", PaletteFile(pidbuild::DistinctPalette()))}),
            Folder("DEEP", {Folder("PALETTES", {FileNode("MAIN", "PAL", PaletteFile(deep))}),
                            FileNode("S", "WAV", "s")})}),
       Folder("SKIPPED", {Folder("PALETTES", {FileNode("MAIN", "PAL", PaletteFile(skipped))}),
                          FileNode("T", "TXT", "t")}),
       Folder("SECOND", {FileNode("P", "PID", pidbuild::Picture(2, 1, {5, 0}, true))}),
       Folder("THIRD",
              {Folder("PALETTES", {FileNode("MAIN", "PAL", std::vector<unsigned char>(700, 3))}),
               FileNode("S", "WAV", "s")})}));
  auto options = OptionsFor(*archive, {"WAV", "PID"});
  options.convertPid = true;
  testing::internal::CaptureStdout();
  const auto job = Run(archive, options);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Switched to palette from: FIRST\nError: palette found in THIRD is broken!\n"
            "Switched to palette from: THIRD\n");
  // The job's own palette, the rest of a short one black; the process-wide one is left alone.
  ASSERT_TRUE(job->context.palette.has_value());
  EXPECT_EQ(job->context.palette->bytes[699], 3);
  EXPECT_EQ(job->context.palette->bytes[700], 0);
  EXPECT_FALSE(currentPalette.has_value());

  const RgbaPicture picture = ReadPng(destination / "SECOND" / "P.png");
  ASSERT_EQ(picture.width, 2u);
  ASSERT_EQ(picture.height, 1u);
  EXPECT_EQ(picture.At(0, 0), (Rgba{5, 250, 2, 255}));
  EXPECT_EQ(picture.At(1, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
}

TEST_F(ExtractWalk, PngTargetsFollowTheOverwriteRuleAndCollidingNamesAreAsked) {
  // XPID.PID and Xpng.PID both become Xpng.png.
  auto archive = Open(Folder("", {Folder("IMAGES", {FileNode("FRAME", "PID", MakePid(3, 2)),
                                                    FileNode("XPID", "PID", MakePid(1, 1)),
                                                    FileNode("Xpng", "PID", MakePid(2, 2))})}));
  fs::create_directory(destination / "IMAGES");
  WriteText(destination / "IMAGES" / "FRAME.png", "old picture");
  auto options = OptionsFor(*archive);
  options.convertPid = true;
  for (const auto answer : {OverwriteAnswer::No, OverwriteAnswer::Yes}) {
    questions->overwriteQuestions.clear();
    questions->overwriteAnswers = {answer, answer, answer};
    const auto job = Run(archive, options);
    const bool yes = answer == OverwriteAnswer::Yes;
    // The second round also meets the first round's Xpng.png.
    ASSERT_EQ(questions->overwriteQuestions.size(), yes ? 3u : 2u);
    EXPECT_EQ(questions->overwriteQuestions[0].rfind("File FRAME.png in:\n\\\\IMAGES\n", 0), 0u);
    EXPECT_EQ(questions->overwriteQuestions[1].rfind("File Xpng.png in:", 0), 0u);
    EXPECT_EQ(ReadFile(destination / "IMAGES" / "FRAME.png") == "old picture", !yes);
    EXPECT_EQ(PngAt(destination / "IMAGES" / "Xpng.png").width, yes ? 2u : 1u);
    EXPECT_EQ(job->Result().kept, yes ? 0 : 2);
    EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
  }
  EXPECT_EQ(PngAt(destination / "IMAGES" / "FRAME.png").width, 3u);
  EXPECT_FALSE(fs::exists(destination / "IMAGES" / "FRAME.PID"));
}

TEST_F(ExtractWalk, RectConversionGivesEachFolderItsOwnCommonCanvas) {
  auto archive = Open(Folder(
      "", {Folder("ANIM", {FileNode("A", "PID", MakePid(20, 30, -3, 4)),
                           FileNode("B", "PID", MakePid(24, 10, 5, -6)),
                           Folder("OTHER", {FileNode("C", "PID", MakePid(10, 10, 6, 0))})})}));
  auto options = OptionsFor(*archive);
  options.convertPid = true;
  Run(archive, options);
  // Without rect each PNG has its picture's size.
  EXPECT_EQ(PngAt(destination / "ANIM" / "A.png").width, 20u);
  EXPECT_EQ(PngAt(destination / "ANIM" / "B.png").height, 10u);

  options.rectConversion = true;
  options.overwriteAll = true;
  Run(archive, options);
  for (const char* name : {"A.png", "B.png"}) {
    const RgbaPicture size = PngAt(destination / "ANIM" / name);
    EXPECT_EQ(size.width, 32u) << name;
    EXPECT_EQ(size.height, 40u) << name;
  }
  const RgbaPicture other = PngAt(destination / "ANIM" / "OTHER" / "C.png");
  EXPECT_EQ(other.width, 16u);
  EXPECT_EQ(other.height, 10u);
}

TEST_F(ExtractWalk, RelativeDestinationIsResolvedAndTheWorkingDirectoryNeverChanged) {
  auto archive = Open(Folder("", {Folder("A", {FileNode("X", "WAV", "x")})}));
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(temp.path());
  const auto job = RunJob(archive, OptionsFor(*archive), "out", questions);
  const auto during = std::filesystem::current_path();
  std::filesystem::current_path(before);
  EXPECT_TRUE(std::filesystem::equivalent(during, temp.path()));
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
  EXPECT_EQ(ReadFile(destination / "A" / "X.WAV"), "x");
}

}  // namespace
