// What the worker does when the archive, the destination or the disk is not
// as it should be: nothing may land outside the destination, no existing file
// may be lost, and every problem is reported and counted.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "extract/ExtractWorker.h"
#include "extract/FileWriter.h"
#include "support/TempDir.h"
#include "tests/extract/ExtractTestSupport.h"

using namespace rezbuild;
using namespace extracttest;
using Tree = std::map<std::string, std::string>;

namespace {

bool Contains(const std::vector<std::string>& messages, const std::string& part) {
  for (const auto& message : messages)
    if (message.find(part) != std::string::npos) return true;
  return false;
}

// Inside a child process: a failed expectation ends it with status 1.
void Require(bool condition, const std::string& what) {
  if (condition) return;
  std::fprintf(stderr, "requirement failed: %s\n", what.c_str());
  std::fflush(stderr);
  _exit(1);
}

// Root is not stopped by permission bits; run as "nobody" where that matters.
void DropPrivileges() {
  if (geteuid() != 0) return;
  Require(setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0,
          "dropping privileges");
}

class ExtractSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    // The child processes below must see this test's folders: fork, no re-run.
    GTEST_FLAG_SET(death_test_style, "fast");
    std::filesystem::create_directories(destination);
  }

  std::shared_ptr<REZ::Parser> Open(const Node& root) { return OpenBuilt(temp / "a.rez", root); }

  std::shared_ptr<ExtractJob> Run(std::shared_ptr<REZ::Parser> archive,
                                  const ExtractOptions& options) {
    return RunJob(std::move(archive), options, destination, questions);
  }

  TempDir temp;
  std::filesystem::path destination = temp / "box" / "out";
  std::shared_ptr<extracttest::ScriptedQuestions> questions =
      std::make_shared<extracttest::ScriptedQuestions>();
};

TEST_F(ExtractSafety, NamesThatAreNotOnePathComponentAreRefusedReportedAndCounted) {
  auto archive = Open(Folder(
      "",
      {Folder("..", {FileNode("ESCAPE", "WAV", "x")}), Folder(".", {FileNode("DOT", "WAV", "x")}),
       Folder("", {FileNode("NONAME", "WAV", "x")}), Folder("a/b", {FileNode("SLASH", "WAV", "x")}),
       Folder("a\\b", {FileNode("BACKSLASH", "WAV", "x"), Folder("INNER", {})}),
       FileNode("../UP", "WAV", "x"), FileNode("x\\y", "WAV", "x"),
       Folder("GOOD", {FileNode("../../FAR", "WAV", "x"), FileNode("FINE", "WAV", "fine")})}));
  const auto job = Run(archive, OptionsFor(*archive));

  EXPECT_EQ(TreeOf(temp / "box"),
            (Tree{{"out/", ""}, {"out/GOOD/", ""}, {"out/GOOD/FINE.WAV", "fine"}}));
  EXPECT_EQ(TreeOf(temp.path()).size(), 5u);  // a.rez and the box above
  EXPECT_EQ(questions->failures.size(), 8u);
  EXPECT_TRUE(Contains(questions->failures, "refused the folder name \"..\""));
  EXPECT_TRUE(Contains(questions->failures, "refused the folder name \"\""));
  EXPECT_TRUE(Contains(questions->failures, "\\\\GOOD: refused the file name \"../../FAR.WAV\""));
  EXPECT_EQ(job->Result().status, ExtractStatus::SucceededWithErrors);
  EXPECT_EQ(job->Result().failed, 8);
  EXPECT_EQ(job->Result().written, 1);
  EXPECT_EQ(CurrentOf(*job), 9);
  EXPECT_EQ(TotalOf(*job), 9);
}

TEST_F(ExtractSafety, RefusedEmptyFolderIsReportedButCountsNothing) {
  auto archive = Open(Folder("", {Folder("..", {}), FileNode("A", "WAV", "a")}));
  auto options = OptionsFor(*archive);
  options.extractEmptyFolders = true;
  const auto job = Run(archive, options);
  EXPECT_EQ(questions->failures.size(), 1u);
  EXPECT_EQ(CurrentOf(*job), 1);
  EXPECT_EQ(job->Result().status, ExtractStatus::SucceededWithErrors);
  EXPECT_EQ(TreeOf(temp / "box"), (Tree{{"out/", ""}, {"out/A.WAV", "a"}}));
}

TEST_F(ExtractSafety, MissingDestinationOrAFileInItsPlaceFailsAtOnce) {
  auto archive = Open(Folder("", {Folder("A", {FileNode("X", "WAV", "x")})}));
  WriteText(temp / "box" / "plain", "a file");
  const std::pair<std::filesystem::path, std::string> cases[] = {
      {temp / "box" / "missing", " does not exist"}, {temp / "box" / "plain", " is not a folder"}};
  for (const auto& [path, reason] : cases) {
    questions->failures.clear();
    destination = path;
    const auto job = Run(archive, OptionsFor(*archive));
    EXPECT_TRUE(job->IsDone());
    EXPECT_EQ(job->Result().status, ExtractStatus::DestinationUnusable);
    EXPECT_EQ(job->Result().fatalMessage,
              (reason == " does not exist" ? "destination folder " : "destination ") +
                  path.string() + reason);
    EXPECT_EQ(questions->failures, std::vector<std::string>{job->Result().fatalMessage});
    EXPECT_EQ(CurrentOf(*job), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(temp / "box" / "missing"));
  EXPECT_EQ(ReadFile(temp / "box" / "plain"), "a file");
}

TEST_F(ExtractSafety, ReadOnlyDestinationFailsAtOnce) {
  auto archive = Open(Folder("", {FileNode("X", "WAV", "x")}));
  std::filesystem::permissions(temp.path(), std::filesystem::perms(0755));
  std::filesystem::permissions(temp / "box", std::filesystem::perms(0755));
  std::filesystem::permissions(destination, std::filesystem::perms(0555));
  EXPECT_EXIT(
      {
        DropPrivileges();
        const auto job = Run(archive, OptionsFor(*archive));
        Require(job->IsDone(), "done");
        Require(job->Result().status == ExtractStatus::DestinationUnusable, "status");
        Require(job->Result().fatalMessage == "destination folder " + destination.string() +
                                                  " cannot be written: Permission denied",
                job->Result().fatalMessage);
        _exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(TreeOf(destination).empty());
}

TEST_F(ExtractSafety, UnwritableFolderIsReportedWithTheSystemReasonAndTheWalkGoesOn) {
  auto archive = Open(Folder("", {Folder("LOCKED", {FileNode("A", "WAV", "a")}),
                                  Folder("OPEN", {FileNode("B", "WAV", "b")})}));
  std::filesystem::create_directory(destination / "LOCKED");
  std::filesystem::permissions(temp.path(), std::filesystem::perms(0755));
  std::filesystem::permissions(temp / "box", std::filesystem::perms(0755));
  std::filesystem::permissions(destination, std::filesystem::perms(0777));
  std::filesystem::permissions(destination / "LOCKED", std::filesystem::perms(0555));
  EXPECT_EXIT(
      {
        DropPrivileges();
        const auto job = Run(archive, OptionsFor(*archive));
        const std::string expected =
            "cannot write " + (destination / "LOCKED" / "A.WAV").string() + ": Permission denied";
        Require(Contains(questions->failures, expected), expected);
        Require(job->Result().status == ExtractStatus::SucceededWithErrors, "status");
        Require(job->Result().failed == 1 && job->Result().written == 1, "counts");
        Require(CurrentOf(*job) == 2, "counter reaches the total");
        _exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile(destination / "OPEN" / "B.WAV"), "b");
}

TEST_F(ExtractSafety, WriteFailingHalfWayLeavesTheOldFileWhole) {
  const std::vector<unsigned char> big(1 << 20, 'n');
  auto archive = Open(Folder("", {FileNode("BIG", "WAV", big), FileNode("SMALL", "WAV", "small")}));
  WriteText(destination / "BIG.WAV", "old contents");
  EXPECT_EXIT(
      {
        // Writes past 64 kB fail with EFBIG instead of killing the process.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &limit);
        auto options = OptionsFor(*archive);
        options.overwriteAll = true;
        const auto job = Run(archive, options);
        const std::string expected =
            "cannot write " + (destination / "BIG.WAV").string() + ": File too large";
        Require(Contains(questions->failures, expected), expected);
        Require(job->Result().status == ExtractStatus::SucceededWithErrors, "status");
        Require(job->Result().failed == 1 && job->Result().written == 1, "counts");
        _exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  // No truncated file under the final name, no temporary file left behind.
  EXPECT_EQ(TreeOf(destination), (Tree{{"BIG.WAV", "old contents"}, {"SMALL.WAV", "small"}}));
}

class FileWriterMethods : public ExtractSafety,
                          public ::testing::WithParamInterface<WriteMethod> {};

TEST_P(FileWriterMethods, ReplacingAFileSwapsItWholeInsteadOfTruncatingIt) {
  WriteText(destination / "A.WAV", "old");
  // A second name for the old file shows whether its bytes were touched.
  std::filesystem::create_hard_link(destination / "A.WAV", temp / "box" / "witness");
  const std::string text = "new contents";
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  EXPECT_EQ(WriteFileReplacing(destination / "A.WAV", bytes, text.size(), GetParam()),
            std::nullopt);
  EXPECT_EQ(WriteFileReplacing(destination / "NEW.WAV", bytes, 3, GetParam()), std::nullopt);
  EXPECT_EQ(ReadFile(temp / "box" / "witness"), "old");
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "new contents"}, {"NEW.WAV", "new"}}));

  EXPECT_EQ(WriteFileReplacing(destination / "NOFOLDER" / "B.WAV", bytes, text.size(), GetParam()),
            std::optional<std::string>("No such file or directory"));
}

TEST_P(FileWriterMethods, FailureHalfWayLeavesNothingBehind) {
  WriteText(destination / "A.WAV", "old");
  const std::vector<unsigned char> big(256 * 1024, 'n');
  EXPECT_EXIT(
      {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &limit);
        const auto failure =
            WriteFileReplacing(destination / "A.WAV", big.data(), big.size(), GetParam());
        Require(failure == std::optional<std::string>("File too large"),
                failure.value_or("no failure"));
        const auto other =
            WriteFileReplacing(destination / "B.WAV", big.data(), big.size(), GetParam());
        Require(other == std::optional<std::string>("File too large"), other.value_or("none"));
        _exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "old"}}));
}

INSTANTIATE_TEST_SUITE_P(Methods, FileWriterMethods,
                         ::testing::Values(WriteMethod::Best, WriteMethod::TemporaryName),
                         [](const auto& info) {
                           return std::string(info.param == WriteMethod::Best ? "Best"
                                                                              : "TemporaryName");
                         });

TEST_F(ExtractSafety, FileInTheWayOfAFolderOrFolderInTheWayOfAFileIsReportedAndCounted) {
  auto archive = Open(Folder(
      "", {Folder("LEVEL", {FileNode("A", "WAV", "a"), Folder("SUB", {FileNode("B", "WAV", "b")})}),
           Folder("OTHER", {FileNode("C", "WAV", "c")}), FileNode("D", "WAV", "d"),
           FileNode("E", "WAV", "e")}));
  WriteText(destination / "LEVEL", "in the way");
  std::filesystem::create_directory(destination / "D.WAV");
  const auto job = Run(archive, OptionsFor(*archive));
  EXPECT_TRUE(questions->overwriteQuestions.empty());
  EXPECT_EQ(questions->failures,
            (std::vector<std::string>{
                "cannot create folder " + (destination / "LEVEL").string() +
                    ": a file of that name is in the way",
                "cannot write " + (destination / "D.WAV").string() + ": Is a directory"}));
  EXPECT_EQ(ReadFile(destination / "LEVEL"), "in the way");
  EXPECT_EQ(ReadFile(destination / "OTHER" / "C.WAV"), "c");
  EXPECT_EQ(ReadFile(destination / "E.WAV"), "e");
  EXPECT_EQ(job->Result().failed, 3);
  EXPECT_EQ(CurrentOf(*job), 5);
  EXPECT_EQ(job->Result().status, ExtractStatus::SucceededWithErrors);
}

TEST_F(ExtractSafety, SymbolicLinksInsideTheDestinationAreNeverFollowed) {
  auto archive =
      Open(Folder("", {Folder("LINKED", {FileNode("A", "WAV", "evil")}),
                       FileNode("FILE", "WAV", "evil"), FileNode("DANGLING", "WAV", "evil"),
                       FileNode("PIC", "PID", MakePid(1, 1)), FileNode("OK", "WAV", "ok")}));
  const auto elsewhere = temp / "elsewhere";
  std::filesystem::create_directory(elsewhere);
  WriteText(temp / "victim", "precious");
  std::filesystem::create_directory_symlink(elsewhere, destination / "LINKED");
  std::filesystem::create_symlink(temp / "victim", destination / "FILE.WAV");
  std::filesystem::create_symlink(temp / "nothing", destination / "DANGLING.WAV");
  std::filesystem::create_symlink(temp / "victim", destination / "PIC.png");
  auto options = OptionsFor(*archive);
  options.overwriteAll = true;
  options.convertPid = true;
  const auto job = Run(archive, options);

  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
  EXPECT_EQ(ReadFile(temp / "victim"), "precious");
  EXPECT_FALSE(std::filesystem::exists(temp / "nothing"));
  EXPECT_TRUE(std::filesystem::is_symlink(destination / "FILE.WAV"));
  EXPECT_EQ(ReadFile(destination / "OK.WAV"), "ok");
  EXPECT_TRUE(Contains(
      questions->failures,
      "refused to enter " + (destination / "LINKED").string() + ": it is a symbolic link"));
  EXPECT_TRUE(Contains(questions->failures, "refused to write " +
                                                (destination / "FILE.WAV").string() +
                                                ": a symbolic link is in its place"));
  EXPECT_EQ(questions->failures.size(), 4u);
  EXPECT_EQ(job->Result().failed, 4);
  EXPECT_EQ(CurrentOf(*job), 5);
}

TEST_F(ExtractSafety, PausedJobWaitsBeforeTheFirstFileUntilUnpausedOrCancelled) {
  auto archive = Open(Folder("", {FileNode("A", "WAV", "a"), FileNode("B", "WAV", "b")}));
  for (const bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancel" : "unpause");
    auto job = MakeExtractJob("a.rez", destination, archive, OptionsFor(*archive), questions);
    job->paused = true;
    std::thread worker(workerMain, job);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(job->IsDone());
    EXPECT_EQ(CurrentOf(*job), 0);
    EXPECT_TRUE(TreeOf(destination).empty());
    if (cancel)
      job->Cancel();
    else
      job->paused = false;
    worker.join();
    EXPECT_TRUE(job->IsDone());
    EXPECT_EQ(job->Result().status, cancel ? ExtractStatus::Cancelled : ExtractStatus::Succeeded);
    EXPECT_EQ(TreeOf(destination), cancel ? Tree{} : (Tree{{"A.WAV", "a"}, {"B.WAV", "b"}}));
  }
}

TEST_F(ExtractSafety, CancelledJobStopsBeforeTheNextFile) {
  auto archive = Open(Folder("", {FileNode("A", "WAV", "new a"), FileNode("B", "WAV", "b"),
                                  Folder("C", {FileNode("D", "WAV", "d")})}));
  WriteText(destination / "A.WAV", "old a");
  auto job = MakeExtractJob("a.rez", destination, archive, OptionsFor(*archive), questions);
  questions->overwriteAnswers = {OverwriteAnswer::No};
  questions->onOverwrite = [&] { job->Cancel(); };
  workerMain(job);
  EXPECT_TRUE(job->IsDone());
  EXPECT_EQ(job->Result().status, ExtractStatus::Cancelled);
  EXPECT_EQ(TreeOf(destination), (Tree{{"A.WAV", "old a"}}));
  EXPECT_EQ(CurrentOf(*job), 1);
}

TEST_F(ExtractSafety, StartedJobOutlivesItsCreatorsReference) {
  auto archive = Open(Folder("", {FileNode("A", "WAV", "a")}));
  auto job = MakeExtractJob("a.rez", destination, archive, OptionsFor(*archive), questions);
  std::weak_ptr<ExtractJob> watch = job;
  StartExtraction(job);
  job.reset();
  archive.reset();
  // The worker's own reference keeps the job alive until it ends, then lets go.
  for (int i = 0; i < 2000 && !watch.expired(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(ReadFile(destination / "A.WAV"), "a");
}

}  // namespace
