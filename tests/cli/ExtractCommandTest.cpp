// tarnwick-cli extract, run as a separate process the way scripts run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/TempDir.h"
#include "tests/extract/ExtractTestSupport.h"

using namespace rezbuild;
using namespace extracttest;
using Tree = std::map<std::string, std::string>;

namespace {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class ExtractCommand : public ::testing::Test {
 protected:
  CliRun Run(const std::vector<std::string>& args, const std::string& input = "") {
    WriteText(temp / "stdin", input);
    std::string command = ShellQuoted(TARNWICK_CLI_PATH);
    for (const auto& arg : args) command += " " + ShellQuoted(arg);
    command += " <" + ShellQuoted((temp / "stdin").string()) + " >" +
               ShellQuoted((temp / "stdout").string()) + " 2>" +
               ShellQuoted((temp / "stderr").string());
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(temp / "stdout");
    run.err = ReadFile(temp / "stderr");
    return run;
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

TEST_F(ExtractCommand, ExtractsEverythingIntoANewDestinationAndSaysNothing) {
  const auto archive =
      Archive(Folder("", {FileNode("ROOT", "TXT", "r"),
                          Folder("LEVEL", {FileNode("A", "WAV", "a"), Folder("EMPTY", {})})}));
  const std::string nested = (temp / "made" / "on" / "demand").string();
  const CliRun run = Run({"extract", archive, nested});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(TreeOf(nested), (Tree{{"ROOT.TXT", "r"}, {"LEVEL/", ""}, {"LEVEL/A.WAV", "a"}}));
}

TEST_F(ExtractCommand, EmptyFoldersOptionMakesEveryFolder) {
  const auto archive = Archive(Folder("", {Folder("LEVEL", {Folder("EMPTY", {})})}));
  const CliRun run = Run({"extract", "--empty-folders", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(TreeOf(destination), (Tree{{"LEVEL/", ""}, {"LEVEL/EMPTY/", ""}}));
}

TEST_F(ExtractCommand, TypesAreSelectedByExactName) {
  const auto archive = Archive(Folder(
      "", {FileNode("A", "WAV", "a"), FileNode("B", "wav", "b"), FileNode("C", "TXT", "c")}));
  CliRun run = Run({"extract", archive, destination, "--types=WAV,TXT"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "a"}, {"C.TXT", "c"}}));

  const std::string other = (temp / "other").string();
  run = Run({"extract", archive, other, "--types=Wav"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "tarnwick-cli: " + archive + ": no files of type 'Wav'\n");
  EXPECT_TRUE(TreeOf(other).empty());
}

TEST_F(ExtractCommand, AskReadsOneAnswerLinePerQuestionAndEndOfInputKeeps) {
  const auto archive =
      Archive(Folder("", {Folder("L", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "new"),
                                       FileNode("C", "WAV", "new")})}));
  std::filesystem::create_directories(temp / "out" / "L");
  for (const char* name : {"A.WAV", "B.WAV", "C.WAV"}) WriteText(temp / "out" / "L" / name, "old");
  const CliRun run = Run({"extract", archive, destination}, "y\nn\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(std::string("File A.WAV in:\n\\\\L\n") + kQuestionTail), std::string::npos)
      << run.err;
  EXPECT_EQ(Occurrences(run.err, kQuestionTail), 3u);
  EXPECT_EQ(TreeOf(destination),
            (Tree{{"L/", ""}, {"L/A.WAV", "new"}, {"L/B.WAV", "old"}, {"L/C.WAV", "old"}}));
}

TEST_F(ExtractCommand, AnswerAOverwritesThisAndEveryLaterFile) {
  const auto archive = Archive(Folder(
      "", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "new"), FileNode("C", "WAV", "new")}));
  std::filesystem::create_directories(destination);
  for (const char* name : {"A.WAV", "B.WAV", "C.WAV"}) WriteText(temp / "out" / name, "old");
  const CliRun run = Run({"extract", archive, destination}, "n\na\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Occurrences(run.err, kQuestionTail), 2u);
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "old"}, {"B.WAV", "new"}, {"C.WAV", "new"}}));
}

TEST_F(ExtractCommand, OverwriteAllAndNeverDoNotAsk) {
  const auto archive =
      Archive(Folder("", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "new")}));
  std::filesystem::create_directories(destination);
  WriteText(temp / "out" / "A.WAV", "old");

  CliRun run = Run({"extract", "--overwrite=never", archive, destination}, "y\ny\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "old"}, {"B.WAV", "new"}}));

  run = Run({"extract", "--overwrite=all", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "new"}, {"B.WAV", "new"}}));
}

TEST_F(ExtractCommand, StdoutCarriesOnlyTheConversionDiagnostics) {
  const auto archive = Archive(Folder(
      "", {Folder("LEVEL", {Folder("PALETTES",
                                   {FileNode("MAIN", "PAL", std::vector<unsigned char>(768, 7))}),
                            FileNode("A", "WAV", "a")})}));
  CliRun run = Run({"extract", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Switched to palette from: LEVEL\n");

  run = Run({"extract", "--quiet", "--overwrite=all", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(ExtractCommand, PngAndRectConvertPictures) {
  const auto archive =
      Archive(Folder("", {Folder("ANIM", {FileNode("A", "PID", MakePid(20, 30, -3, 4)),
                                          FileNode("B", "PID", MakePid(24, 10, 5, -6))})}));
  CliRun run = Run({"extract", "--png", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(TreeOf(destination).count("ANIM/A.PID"), 0u);
  EXPECT_EQ(PngSizeOf(temp / "out" / "ANIM" / "A.png").width, 20u);

  run = Run({"extract", "--png", "--rect", archive, destination});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(PngSizeOf(temp / "out" / "ANIM" / "A.png").width, 32u);
  EXPECT_EQ(PngSizeOf(temp / "out" / "ANIM" / "B.png").height, 40u);
}

TEST_F(ExtractCommand, UnwritableEntriesAreReportedAndExitOne) {
  const auto archive = Archive(
      Folder("", {Folder("..", {FileNode("ESCAPE", "WAV", "x")}), FileNode("OK", "WAV", "ok")}));
  const CliRun run = Run({"extract", archive, destination});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("tarnwick-cli: \\: refused the folder name \"..\""), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("tarnwick-cli: 1 of 2 files could not be extracted\n"), std::string::npos)
      << run.err;
  EXPECT_EQ(TreeOf(temp.path()).count("ESCAPE.WAV"), 0u);
  EXPECT_EQ(TreeOf(destination), (Tree{{"OK.WAV", "ok"}}));
}

TEST_F(ExtractCommand, DestinationThatCannotBeMadeExitsOne) {
  const auto archive = Archive(Folder("", {FileNode("A", "WAV", "a")}));
  WriteText(temp / "file", "x");
  const std::string blocked = (temp / "file" / "dest").string();
  const CliRun run = Run({"extract", archive, blocked});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("tarnwick-cli: " + blocked + ": ", 0), 0u) << run.err;
}

TEST_F(ExtractCommand, ArchivesThatCannotBeReadExitTwo) {
  CliRun run = Run({"extract", (temp / "missing.rez").string(), destination});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err,
            "tarnwick-cli: " + (temp / "missing.rez").string() + ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(destination));

  WriteText(temp / "junk.rez", "not an archive at all");
  run = Run({"extract", (temp / "junk.rez").string(), destination});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "tarnwick-cli: " + (temp / "junk.rez").string() + ": Invalid format.\n");
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
