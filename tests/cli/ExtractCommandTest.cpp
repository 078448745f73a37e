// tarnwick-cli extract, run as a separate process the way scripts run it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>
#include <tuple>

#include "support/TempDir.h"
#include "tests/cli/CliRun.h"
#include "tests/extract/ExtractTestSupport.h"

using namespace rezbuild;
using namespace extracttest;

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

// Only diagnostics on stdout; types are selected by exact name and a type the
// archive lacks is a warning.
TEST_F(ExtractCommand, ExtractsTheSelectedTypesIntoANewDestination) {
  const auto archive = Archive(Folder(
      "",
      {FileNode("ROOT", "TXT", "r"), FileNode("B", "wav", "b"),
       Folder("LEVEL", {FileNode("A", "WAV", "a"), Folder("EMPTY", {}),
                        Folder("PALETTES", {FileNode("MAIN", "PAL", std::string(768, 'p'))})})}));
  const std::string nested = (temp / "made" / "on" / "demand").string();
  const CliRun run = Run({"extract", "--types=TXT,WAV,Wav", archive, nested});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Switched to palette from: LEVEL\n");
  EXPECT_EQ(run.err, "tarnwick-cli: " + archive + ": no files of type 'Wav'\n");
  EXPECT_EQ(TreeOf(nested), (Tree{{"ROOT.TXT", "r"}, {"LEVEL/", ""}, {"LEVEL/A.WAV", "a"}}));

  EXPECT_EQ(Run({"extract", "--empty-folders", "--quiet", archive, destination}).out, "");
  EXPECT_EQ(TreeOf(destination).count("LEVEL/EMPTY/"), 1u);
}

TEST_F(ExtractCommand, OverwriteAnswersFromInputAndOptions) {
  const auto archive = Archive(Folder(
      "", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "new"), FileNode("C", "WAV", "new")}));
  // One answer line per question, the end of input keeps the file; "a"
  // overwrites this and every later file.
  const std::tuple<std::vector<std::string>, std::string, std::string, std::size_t> cases[] = {
      {{}, "y\nn\n", "new old old", 3},
      {{}, "n\na\n", "old new new", 2},
      {{"--overwrite=never"}, "y\ny\n", "old old old", 0},
      {{"--overwrite=all"}, "", "new new new", 0}};
  for (const auto& [options, input, expected, asked] : cases) {
    SCOPED_TRACE(input + ::testing::PrintToString(options));
    std::filesystem::create_directories(destination);
    for (const char* name : {"A.WAV", "B.WAV", "C.WAV"}) WriteText(temp / "out" / name, "old");
    std::vector<std::string> args = {"extract", archive, destination};
    args.insert(args.end(), options.begin(), options.end());
    const CliRun run = Run(args, input);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    // The root is named by one backslash.
    EXPECT_EQ(Occurrences(run.err, std::string("in:\n\\\n") + kQuestionTail), asked);
    const Tree tree = TreeOf(destination);
    EXPECT_EQ(tree.at("A.WAV") + " " + tree.at("B.WAV") + " " + tree.at("C.WAV"), expected);
  }
}

TEST_F(ExtractCommand, InterruptStopsTheJobBetweenFilesAndExitsOne) {
  const auto archive = Archive(Folder(
      "", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "b"), FileNode("C", "WAV", "c")}));
  std::filesystem::create_directories(destination);
  WriteText(temp / "out" / "A.WAV", "old");
  const std::string errPath = (temp / "stderr").string();
  // Polls for up to ten seconds.
  const auto waitFor = [](const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
  };
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  const pid_t child = fork();
  if (child == 0) {
    // The answer never comes: the question waits on an open, silent pipe.
    dup2(input[0], STDIN_FILENO);
    close(input[1]);
    dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
    execl(TARNWICK_CLI_PATH, "tarnwick-cli", "extract", archive.c_str(), destination.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(input[0]);
  EXPECT_TRUE(waitFor([&] { return ReadFile(errPath).find(kQuestionTail) != std::string::npos; }));
  kill(child, SIGINT);
  int status = 0;
  bool ended = false;
  waitFor([&] { return ended = ended || waitpid(child, &status, WNOHANG) == child; });
  if (!ended) kill(child, SIGKILL), waitpid(child, &status, 0);
  close(input[1]);
  ASSERT_TRUE(ended) << "the interrupted run did not end";
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(ReadFile(errPath).find("tarnwick-cli: interrupted after 1 of 3 files\n"),
            std::string::npos)
      << ReadFile(errPath);
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "old"}}));
}

}  // namespace
