// tarnwick-cli extract, run as a separate process the way scripts run it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/TempDir.h"
#include "tests/cli/CliRun.h"
#include "tests/extract/ExtractTestSupport.h"

using namespace rezbuild;
using namespace extracttest;
using Tree = std::map<std::string, std::string>;

namespace {

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class ExtractCommand : public ::testing::Test {
 protected:
  CliRun Run(const std::vector<std::string>& args, const std::string& input = "") {
    return RunCli(temp.path(), args, input);
  }

  std::string Archive(const Node& root) {
    Write(temp / "a.rez", root);
    return (temp / "a.rez").string();
  }

  TempDir temp;
  std::string destination = (temp / "out").string();
};

const char* kQuestionTail =
    "already exits. Do you want to overwrite it?\nPress 'Cancel' to overwrite all.";

TEST_F(ExtractCommand, ExtractsEverythingIntoANewDestinationWithOnlyDiagnosticsOnStdout) {
  const auto archive = Archive(Folder(
      "",
      {FileNode("ROOT", "TXT", "r"),
       Folder("LEVEL", {FileNode("A", "WAV", "a"), Folder("EMPTY", {}),
                        Folder("PALETTES", {FileNode("MAIN", "PAL", std::string(768, 'p'))})})}));
  const std::string nested = (temp / "made" / "on" / "demand").string();
  const CliRun run = Run({"extract", "--types=TXT,WAV", archive, nested});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Switched to palette from: LEVEL\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(TreeOf(nested), (Tree{{"ROOT.TXT", "r"}, {"LEVEL/", ""}, {"LEVEL/A.WAV", "a"}}));

  EXPECT_EQ(Run({"extract", "--empty-folders", "--quiet", archive, destination}).out, "");
  EXPECT_EQ(TreeOf(destination).count("LEVEL/EMPTY/"), 1u);
}

TEST_F(ExtractCommand, TypesAreSelectedByExactName) {
  const auto archive = Archive(Folder(
      "", {FileNode("A", "WAV", "a"), FileNode("B", "wav", "b"), FileNode("C", "TXT", "c")}));
  const std::string other = (temp / "other").string();
  CliRun run = Run({"extract", archive, other, "--types=WAV,Wav"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "tarnwick-cli: " + archive + ": no files of type 'Wav'\n");
  EXPECT_EQ(TreeOf(other), (Tree{{"A.WAV", "a"}}));

  // Naming no type at all would extract nothing: a usage error listing the types.
  run = Run({"extract", archive, (temp / "none").string(), "--types=Wav"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err.rfind(
                "tarnwick-cli: extract: --types names no type of " + archive + "; it holds ", 0),
            0u)
      << run.err;
  EXPECT_NE(run.err.find("wav"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(temp / "none"));
}

TEST_F(ExtractCommand, OverwriteAnswersFromInputAndOptions) {
  const auto archive =
      Archive(Folder("", {Folder("L", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "new"),
                                       FileNode("C", "WAV", "new")})}));
  struct Case {
    std::vector<std::string> options;
    std::string input;
    std::string expectedABC;
    std::size_t questions;
  };
  const Case cases[] = {
      // One answer line per question; the end of input keeps the file.
      {{}, "y\nn\n", "new old old", 3},
      // "a" overwrites this and every later file.
      {{}, "n\na\n", "old new new", 2},
      {{"--overwrite=never"}, "y\ny\n", "old old old", 0},
      {{"--overwrite=all"}, "", "new new new", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input + ::testing::PrintToString(c.options));
    std::filesystem::remove_all(destination);
    std::filesystem::create_directories(temp / "out" / "L");
    for (const char* name : {"A.WAV", "B.WAV", "C.WAV"})
      WriteText(temp / "out" / "L" / name, "old");
    std::vector<std::string> args = {"extract"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {archive, destination});
    const CliRun run = Run(args, c.input);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Occurrences(run.err, kQuestionTail), c.questions);
    const Tree tree = TreeOf(destination);
    EXPECT_EQ(tree.at("L/A.WAV") + " " + tree.at("L/B.WAV") + " " + tree.at("L/C.WAV"),
              c.expectedABC);
  }
}

TEST_F(ExtractCommand, PngAndRectConvertPicturesAndPngsFollowTheOverwriteRule) {
  const auto archive =
      Archive(Folder("", {Folder("ANIM", {FileNode("A", "PID", MakePid(20, 30, -3, 4)),
                                          FileNode("B", "PID", MakePid(24, 10, 5, -6))})}));
  CliRun run = Run({"extract", "--png", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(TreeOf(destination).count("ANIM/A.PID"), 0u);
  EXPECT_EQ(PngAt(temp / "out" / "ANIM" / "A.png").width, 20u);

  run = Run({"extract", "--png", "--rect", archive, destination}, "n\ny\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find(std::string("File A.png in:\n\\\\ANIM\n") + kQuestionTail),
            std::string::npos)
      << run.err;
  EXPECT_EQ(PngAt(temp / "out" / "ANIM" / "A.png").width, 20u);   // kept
  EXPECT_EQ(PngAt(temp / "out" / "ANIM" / "B.png").height, 40u);  // on the common canvas

  WriteText(temp / "out" / "ANIM" / "A.png", "kept");
  run = Run({"extract", "--png", "--overwrite=never", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFile(temp / "out" / "ANIM" / "A.png"), "kept");
}

TEST_F(ExtractCommand, RefusedNamesAndUnconvertiblePicturesAreReportedAndExitOne) {
  const auto archive = Archive(Folder(
      "", {Folder("..", {FileNode("ESCAPE", "WAV", "x")}), FileNode("OK", "WAV", "ok"),
           FileNode("BROKEN", "PID", MakePid(0, 5)), FileNode("GOOD", "PID", MakePid(2, 2))}));
  const CliRun run = Run({"extract", "--png", archive, destination});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  for (const char* line : {"tarnwick-cli: \\: refused the folder name \"..\"",
                           "tarnwick-cli: cannot convert \"BROKEN.PID\" in \\: picture size 0 x 5",
                           "tarnwick-cli: 2 of 4 files could not be extracted\n"})
    EXPECT_NE(run.err.find(line), std::string::npos) << run.err;
  EXPECT_EQ(TreeOf(temp.path()).count("ESCAPE.WAV"), 0u);
  const Tree tree = TreeOf(destination);
  EXPECT_EQ(tree.size(), 2u);
  EXPECT_EQ(tree.at("OK.WAV"), "ok");
  EXPECT_EQ(PngAt(temp / "out" / "GOOD.png").width, 2u);
}

TEST_F(ExtractCommand, DestinationThatCannotBeMadeExitsOne) {
  const auto archive = Archive(Folder("", {FileNode("A", "WAV", "a")}));
  WriteText(temp / "file", "x");
  const std::string blocked = (temp / "file" / "dest").string();
  const CliRun run = Run({"extract", archive, blocked});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("tarnwick-cli: " + blocked + ": ", 0), 0u) << run.err;
}

TEST_F(ExtractCommand, InterruptStopsTheJobBetweenFilesAndExitsOne) {
  const auto archive = Archive(Folder(
      "", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "b"), FileNode("C", "WAV", "c")}));
  std::filesystem::create_directories(destination);
  WriteText(temp / "out" / "A.WAV", "old");
  const std::string errPath = (temp / "stderr").string();
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  const pid_t child = fork();
  if (child == 0) {
    // The answer never comes: the question waits on an open, silent pipe.
    dup2(input[0], STDIN_FILENO);
    close(input[1]);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    execl(TARNWICK_CLI_PATH, "tarnwick-cli", "extract", archive.c_str(), destination.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(input[0]);
  for (int i = 0; i < 2000 && ReadFile(errPath).find(kQuestionTail) == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_NE(ReadFile(errPath).find(kQuestionTail), std::string::npos);
  kill(child, SIGINT);
  int status = 0;
  pid_t waited = 0;
  for (int i = 0; i < 2000 && (waited = waitpid(child, &status, WNOHANG)) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (waited == 0) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  close(input[1]);
  ASSERT_EQ(waited, child) << "the interrupted run did not end";
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(ReadFile(errPath).find("tarnwick-cli: interrupted after 1 of 3 files\n"),
            std::string::npos)
      << ReadFile(errPath);
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "old"}}));
}

// The messages themselves are the other commands' (one opening for all).
TEST_F(ExtractCommand, ArchiveThatCannotBeReadExitsTwoBeforeMakingTheDestination) {
  WriteText(temp / "junk.rez", "not an archive at all");
  const CliRun run = Run({"extract", (temp / "junk.rez").string(), destination});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  EXPECT_FALSE(std::filesystem::exists(destination));
}

TEST_F(ExtractCommand, UsageErrorsExitTwo) {
  const auto archive = Archive(Folder("", {FileNode("A", "WAV", "a")}));
  const std::vector<std::vector<std::string>> wrong = {
      {"extract"},
      {"extract", archive},
      {"extract", archive, destination, "third"},
      {"extract", archive, destination, "--rect"},
      {"extract", archive, destination, "--overwrite=maybe"},
      {"extract", archive, destination, "--types="},
      {"extract", archive, destination, "--types=WAV,,TXT"},
      {"extract", archive, destination, "--colour"},
  };
  for (const auto& args : wrong) {
    const CliRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2) << args.back();
    EXPECT_EQ(run.err.rfind("tarnwick-cli: extract: ", 0), 0u) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(destination));
}

}  // namespace
