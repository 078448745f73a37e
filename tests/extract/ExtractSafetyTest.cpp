// What the worker does when the archive, the destination or the disk is not
// as it should be: nothing may land outside the destination, no existing file
// may be lost, and every problem is reported and counted.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "extract/FileWriter.h"
#include "tests/extract/ExtractTestSupport.h"

using namespace rezbuild;
using namespace extracttest;
namespace fs = std::filesystem;

namespace {

// A name the writer would give a temporary file of process pid.
std::string TemporaryNameOf(long pid) {
  const std::string digits = std::to_string(pid);
  return ".tarnwick-" + std::string(10 - digits.size(), '0') + digits + "-" + std::string(179, 'a');
}

using ExtractSafety = ExtractTest;

// Names that are not one path component (".." is ExtractCommand's), a file where a folder goes and
// a folder where a file goes: each refused, reported and counted, the rest written.
TEST_F(ExtractSafety, RefusedNamesAndThingsInTheWayAreReportedAndCounted) {
  auto archive = Open(Folder(
      "", {Folder("a\\b", {FileNode("BACKSLASH", "WAV", "x"), Folder("INNER", {})}),
           Folder("GOOD", {FileNode("../../FAR", "WAV", "x"), FileNode("FINE", "WAV", "fine")}),
           Folder("LEVEL", {FileNode("A", "WAV", "a"), Folder("SUB", {FileNode("B", "WAV", "b")})}),
           FileNode("D", "WAV", "d")}));
  WriteText(destination / "LEVEL", "in the way");
  fs::create_directory(destination / "D.WAV");
  const auto job = Run(archive, OptionsFor(*archive));
  EXPECT_EQ(TreeOf(temp / "box"), (Tree{{"out/", ""},
                                        {"out/D.WAV/", ""},
                                        {"out/GOOD/", ""},
                                        {"out/GOOD/FINE.WAV", "fine"},
                                        {"out/LEVEL", "in the way"}}));
  EXPECT_EQ(TreeOf(temp.path()).size(), 7u);  // a.rez and the box above
  EXPECT_EQ(questions->failures.size(), 4u);
  for (const std::string& message :
       {std::string("\\\\GOOD: refused the file name \"../../FAR.WAV\""),
        "cannot create folder " + (destination / "LEVEL").string() + ": a file of that name is in",
        "cannot write " + (destination / "D.WAV").string() + ": Is a directory"})
    EXPECT_TRUE(Contains(questions->failures, message)) << message;
  EXPECT_EQ(job->Result().status, ExtractStatus::SucceededWithErrors);
  EXPECT_EQ(job->Result().failed, 5);
  EXPECT_EQ(CountsOf(*job), std::make_pair(6, 6));
}

// A disk that fills up half-way through a file, as a file-size limit and as a
// small file system (where this test may mount one): the old files stay
// whole, no partial file is left under any name, and each loss is reported.
TEST_F(ExtractSafety, FullDiskKeepsOldFilesWholeAndLeavesNothingPartial) {
  // Noise does not compress: the PNG is as big as its pixels.
  std::vector<std::uint8_t> noise(1024 * 1024);
  std::mt19937 random(7);
  for (auto& index : noise) index = std::uint8_t(random());
  auto archive =
      Open(Folder("", {FileNode("BIG", "WAV", std::vector<unsigned char>(1 << 20, 'n')),
                       FileNode("BIG", "PID", pidbuild::Picture(1024, 1024, noise, false)),
                       FileNode("SMALL", "WAV", "small")}));
  auto options = OptionsFor(*archive);
  options.convertPid = true;
  options.overwriteAll = true;
  for (const bool smallFileSystem : {false, true}) {
    const std::string reason = smallFileSystem ? "No space left on device" : "File too large";
    const pid_t child = fork();
    if (child == 0) {
      if (!smallFileSystem) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &limit);
      } else if (unshare(CLONE_NEWNS) != 0 ||  // a mount of this process alone
                 mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                 mount("tmpfs", destination.c_str(), "tmpfs", 0, "size=256k") != 0) {
        _exit(77);
      }
      WriteText(destination / "BIG.WAV", "old sound");
      WriteText(destination / "BIG.png", "old picture");
      const auto job = Run(archive, options);
      const std::string cannot = "cannot write " + destination.string() + "/BIG.";
      // Old files whole, nothing partial, each loss reported and counted.
      _exit(!(Contains(questions->failures, cannot + "WAV: " + reason) &&
              Contains(questions->failures, cannot + "png: " + reason) &&
              job->Result().failed == 2 && job->Result().written == 1 &&
              TreeOf(destination) == Tree{{"BIG.WAV", "old sound"},
                                          {"BIG.png", "old picture"},
                                          {"SMALL.WAV", "small"}}));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) continue;  // no private mount of a small file system here
    EXPECT_EQ(WEXITSTATUS(status), 0) << reason;
    fs::remove_all(destination);
    fs::create_directories(destination);
  }
}

TEST_F(ExtractSafety, KilledRunLeavesNoPartialFileUnderAnyName) {
  const std::vector<unsigned char> big(32 << 20, 'b');
  auto archive = Open(Folder("", {FileNode("A", "WAV", "a"), FileNode("BIG", "WAV", big)}));
  const pid_t child = fork();
  if (child == 0) {
    Run(archive, OptionsFor(*archive));
    _exit(0);
  }
  for (int i = 0; i < 2000 && !fs::exists(destination / "A.WAV"); ++i) ::usleep(1000);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  // Wherever the kill landed: BIG.WAV is whole or absent, and nothing else is there.
  for (const auto& [name, bytes] : TreeOf(destination))
    EXPECT_TRUE(name == "A.WAV" || (name == "BIG.WAV" && bytes.size() == big.size())) << name;
}

// Every way of writing (unnamed file, linked directly or through /proc, or a
// temporary name) keeps or replaces whole;
// a second name for the old file shows its bytes were never touched.
TEST_F(ExtractSafety, WriterReplacesWholeOrKeepsWhatIsThereByEitherMethod) {
  const int folder = ::open(destination.c_str(), O_RDONLY | O_DIRECTORY);
  const auto* bytes = reinterpret_cast<const unsigned char*>("new contents");
  for (const WriteMethod method :
       {WriteMethod::Best, WriteMethod::UnnamedThroughProc, WriteMethod::TemporaryName}) {
    fs::remove_all(destination / "B.WAV"), fs::remove(temp / "box" / "witness");
    WriteText(destination / "A.WAV", "old");
    fs::create_hard_link(destination / "A.WAV", temp / "box" / "witness");
    const auto write = [&](const char* name, std::size_t size, WriteRule rule) {
      return WriteFileAt(folder, name, bytes, size, rule, method).kind;
    };
    EXPECT_EQ(write("A.WAV", 3, WriteRule::KeepExisting), WriteOutcome::Existed);
    EXPECT_EQ(write("A.WAV", 12, WriteRule::Replace), WriteOutcome::Written);
    EXPECT_EQ(write("B.WAV", 3, WriteRule::KeepExisting), WriteOutcome::Written);
    EXPECT_EQ(ReadFile(temp / "box" / "witness"), "old");
    EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "new contents"}, {"B.WAV", "new"}}));
  }
  ::close(folder);
}

// Links are never followed, nor a link at a temporary's name removed; the
// stale temporaries of ended runs are removed when their folder is written.
TEST_F(ExtractSafety, SymbolicLinksAreNeverFollowedAndStaleTemporariesRemoved) {
  auto archive = Open(
      Folder("", {Folder("LINKED", {FileNode("A", "WAV", "evil")}), FileNode("FILE", "WAV", "evil"),
                  FileNode("DANGLING", "WAV", "evil"), FileNode("PIC", "PID", MakePid(1, 1)),
                  FileNode("OK", "WAV", "ok"), Folder("T", {FileNode("X", "WAV", "x")})}));
  fs::create_directory(destination / "T");
  const std::string dead = TemporaryNameOf(1 << 30), ours = TemporaryNameOf(getpid());
  const std::string shortName = dead.substr(0, 150);  // an archive could hold this one
  for (const auto& name : {dead, ours, shortName}) WriteText(destination / "T" / name, "part");
  const auto elsewhere = temp / "elsewhere";
  fs::create_directory(elsewhere);
  WriteText(temp / "victim", "precious");
  fs::create_directory_symlink(elsewhere, destination / "LINKED");
  fs::create_symlink(temp / "victim", destination / "FILE.WAV");
  fs::create_symlink(temp / "nothing", destination / "DANGLING.WAV");
  fs::create_symlink(temp / "victim", destination / "PIC.png");
  // Where a dead run's temporary would be: a link there is neither followed nor removed.
  fs::create_symlink(temp / "victim", destination / dead);
  auto options = OptionsFor(*archive);
  options.overwriteAll = true;
  options.convertPid = true;
  const auto job = Run(archive, options);

  EXPECT_TRUE(fs::is_empty(elsewhere));
  EXPECT_EQ(ReadFile(temp / "victim"), "precious");
  EXPECT_FALSE(fs::exists(temp / "nothing"));
  EXPECT_TRUE(fs::is_symlink(destination / dead));
  EXPECT_EQ(ReadFile(destination / "OK.WAV"), "ok");
  EXPECT_EQ(TreeOf(destination / "T"), (Tree{{ours, "part"}, {shortName, "part"}, {"X.WAV", "x"}}));
  // A day without change makes any temporary stale, this process's too.
  EXPECT_TRUE(IsStaleTemporary(ours, std::time(nullptr) - 2 * 86400));
  EXPECT_FALSE(IsStaleTemporary(ours, std::time(nullptr)));
  for (const std::string& message :
       {"refused to enter " + (destination / "LINKED").string() + ": it is a symbolic link",
        "refused to write " + (destination / "PIC.png").string() + ": a symbolic link is in its"})
    EXPECT_TRUE(Contains(questions->failures, message)) << message;
  EXPECT_EQ(questions->failures.size(), 4u);
  EXPECT_EQ(job->Result().failed, 4);
}

TEST_F(ExtractSafety, FolderSwappedForALinkDuringTheRunGetsNoMoreFiles) {
  auto archive =
      Open(Folder("", {Folder("A", {FileNode("ONE", "WAV", "1"), FileNode("TWO", "WAV", "2"),
                                    Folder("SUB", {FileNode("THREE", "WAV", "3")})}),
                       FileNode("LAST", "WAV", "last")}));
  const auto elsewhere = temp / "elsewhere";
  fs::create_directory(elsewhere);
  auto job = MakeExtractJob("a.rez", destination, archive, OptionsFor(*archive), questions);
  // Between the folder's two files: keep the folder inside the destination,
  // but put a link to elsewhere in its place.
  job->beforeEachFile = [&](const std::string& name) {
    if (name != "TWO.WAV") return;
    fs::rename(destination / "A", destination / "A.moved");
    fs::create_directory_symlink(elsewhere, destination / "A");
  };
  workerMain(job);
  EXPECT_TRUE(fs::is_empty(elsewhere));
  EXPECT_EQ(TreeOf(destination),
            (Tree{{"A", "->"}, {"A.moved/", ""}, {"A.moved/ONE.WAV", "1"}, {"LAST.WAV", "last"}}));
  EXPECT_TRUE(Contains(questions->failures, "folder " + (destination / "A").string() +
                                                " was moved or replaced during the extraction"));
  EXPECT_EQ(job->Result().failed, 2);
  EXPECT_EQ(job->Result().written, 2);
  EXPECT_EQ(CountsOf(*job).first, 4);
}

}  // namespace
