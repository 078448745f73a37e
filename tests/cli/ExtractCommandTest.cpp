// tarnwick-cli extract, pack and cat, run as a separate process the way scripts run them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <tuple>

#include "support/XmiBuilder.h"
#include "tests/cli/CliRun.h"

using namespace rezbuild;
using namespace extracttest;
namespace fs = std::filesystem;

namespace {

class ExtractCommand : public ::testing::Test {
 protected:
  CliRun Run(const std::vector<std::string>& args, const std::string& input = "",
             const std::string& stdoutTo = "") {
    return RunCli(temp.path(), args, input, stdoutTo);
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
  const std::tuple<std::vector<std::string>, std::string, std::string, int> cases[] = {
      {{}, "y\nn\n", "new old old", 3},
      {{}, "n\na\n", "old new new", 2},
      {{"--overwrite=never"}, "y\ny\n", "old old old", 0},
      {{"--overwrite=all"}, "", "new new new", 0}};
  for (const auto& [options, input, expected, asked] : cases) {
    SCOPED_TRACE(input + ::testing::PrintToString(options));
    fs::create_directories(destination);
    for (const char* name : {"A.WAV", "B.WAV", "C.WAV"}) WriteText(temp / "out" / name, "old");
    std::vector<std::string> args = {"extract", archive, destination};
    args.insert(args.end(), options.begin(), options.end());
    const CliRun run = Run(args, input);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    // The root is named by one backslash.
    std::size_t count = 0;
    const std::string question = std::string("in:\n\\\n") + kQuestionTail;
    for (auto at = run.err.find(question); at != std::string::npos;
         at = run.err.find(question, at + 1))
      ++count;
    EXPECT_EQ(count, std::size_t(asked));
    const Tree tree = TreeOf(destination);
    EXPECT_EQ(tree.at("A.WAV") + " " + tree.at("B.WAV") + " " + tree.at("C.WAV"), expected);
  }
}

TEST_F(ExtractCommand, InterruptStopsTheJobBetweenFilesAndExitsOne) {
  const auto archive = Archive(Folder(
      "", {FileNode("A", "WAV", "new"), FileNode("B", "WAV", "b"), FileNode("C", "WAV", "c")}));
  fs::create_directories(destination);
  WriteText(temp / "out" / "A.WAV", "old");
  const std::string errPath = (temp / "stderr").string();
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
  // Each wait polls for up to ten seconds: the question, then the end of the run.
  for (int i = 0; i < 2000 && ReadFile(errPath).find(kQuestionTail) == std::string::npos; ++i)
    ::usleep(5000);
  kill(child, SIGINT);
  int status = 0;
  pid_t ended = 0;
  for (int i = 0; i < 2000 && (ended = waitpid(child, &status, WNOHANG)) == 0; ++i) ::usleep(5000);
  if (ended != child) kill(child, SIGKILL), waitpid(child, &status, 0);
  close(input[1]);
  ASSERT_EQ(ended, child) << "the interrupted run did not end";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(ReadFile(errPath).find("tarnwick-cli: interrupted after 1 of 3 files\n"),
            std::string::npos)
      << ReadFile(errPath);
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "old"}}));
}

// The round trip itself is PackRoundTrip's; here what the command adds: an
// existing archive is kept unless --overwrite is given, refused names fail the pack.
TEST_F(ExtractCommand, PackKeepsAnExistingArchiveAndRefusesNamesTheFormatCannotHold) {
  fs::create_directories(temp / "tree" / "LEVEL");
  WriteText(temp / "tree" / "LEVEL" / "A.WAV", "a");
  WriteText(temp / "re.rez", "old archive");
  const std::string tree = (temp / "tree").string(), packed = (temp / "re.rez").string();
  const CliRun kept = Run({"pack", tree, packed});
  EXPECT_EQ(kept.exitCode, 1);
  EXPECT_NE(kept.err.find("already exists (--overwrite replaces it)"), std::string::npos)
      << kept.err;
  EXPECT_EQ(ReadFile(packed), "old archive");
  ASSERT_EQ(Run({"pack", tree, packed, "--overwrite"}).exitCode, 0);
  EXPECT_EQ(Run({"cat", packed, "LEVEL/A.WAV"}).out, "a");
  // A name the format cannot hold is listed and nothing is written.
  WriteText(temp / "tree" / "NOTYPE", "");
  fs::remove(packed);
  EXPECT_NE(Run({"pack", tree, packed}).err.find("NOTYPE: has no type"), std::string::npos);
  EXPECT_FALSE(fs::exists(packed));
}

TEST_F(ExtractCommand, CatWritesOneEntryOrSaysWhyNot) {
  const auto archive =
      Archive(Folder("", {Folder("LEVEL1", {FileNode("MUSIC", "XMI", std::string(3000, 'x'))})}));
  const CliRun found = Run({"cat", archive, "LEVEL1/MUSIC.XMI"});
  EXPECT_EQ(found.exitCode, 0) << found.err;
  EXPECT_EQ(found.out, std::string(3000, 'x'));
  for (const char* missing : {"LEVEL1", "LEVEL1/NONE.PID"}) {
    const CliRun run = Run({"cat", archive, missing});
    EXPECT_EQ(run.exitCode, 2) << missing;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(Run({"cat", archive, "LEVEL1/MUSIC.XMI"}, "", "/dev/full").exitCode, 1);
}

// What cannot be converted or has a refused name is reported, counted and exits 1.
TEST_F(ExtractCommand, MusicPcxAndPidAreConvertedUnderTheOverwriteRule) {
  const auto song = [](unsigned char note) {
    return std::vector<unsigned char>{0x90, note, 100, 60};
  };
  // A 2 x 1 PCX: header, one run of index 5 ("5, 0" raw), then the palette.
  std::vector<unsigned char> pcx(128 + 3 + 768, 9);
  std::fill(pcx.begin(), pcx.begin() + 128, 0);
  pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8, pcx[65] = 1, pcx[66] = 2;
  pcx[128] = 5, pcx[129] = 0, pcx[130] = 0x0C;
  const auto archive = Archive(
      Folder("", {FileNode("MUSIC", "XMI", xmibuild::Xmi({song(60), song(62)})),
                  FileNode("BROKEN", "XMI", "not music"), FileNode("TITL\xC9", "PCX", pcx),
                  FileNode("BAD", "PID", MakePid(0, 5)), FileNode("GOOD", "PID", MakePid(2, 2)),
                  Folder("..", {FileNode("ESCAPE", "WAV", "x")})}));
  const fs::path out = destination;
  fs::create_directories(out);
  WriteText(out / "MUSIC-1.mid", "kept");
  const CliRun run =
      Run({"extract", archive, destination, "--midi", "--pcx", "--png", "--overwrite=never"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  for (const char* line :
       {"tarnwick-cli: \\: refused the folder name \"..\"",
        "tarnwick-cli: cannot convert \"BAD.PID\" in \\: picture size 0 x 5", "BROKEN.XMI",
        "not a valid XMI: ", "tarnwick-cli: 3 of 6 files could not be extracted\n"})
    EXPECT_NE(run.err.find(line), std::string::npos) << run.err;
  EXPECT_EQ(ReadPng(out / "GOOD.png").width, 2u);
  EXPECT_FALSE(fs::exists(temp / "ESCAPE.WAV"));
  EXPECT_EQ(ReadFile(out / "MUSIC-1.mid"), "kept");
  EXPECT_EQ(ReadFile(out / "MUSIC-2.mid").substr(0, 4), "MThd");
  EXPECT_EQ(ReadFile(out / "TITL\xC3\x89.png").substr(1, 3), "PNG");
  for (const char* raw : {"MUSIC.XMI", "BROKEN.XMI", "TITL\xC3\x89.PCX", "BAD.PID"})
    EXPECT_FALSE(fs::exists(out / raw)) << raw;
}

}  // namespace
