#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "PlatformTestSupport.h"
#include "platform/FileDialog.h"
#include "platform/Modal.h"
#include "support/RecordingEngine.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const char* const SLEEP_PROGRAM = fs::exists("/bin/sleep") ? "/bin/sleep" : "/usr/bin/sleep";

const platform::OpenFileOptions kArchiveOptions = {
    {{"Monolith's Resources (*.VRZ; *.SRZ; *.REZ)", "*.vrz;*.srz;*.rez"},
     {"Monolith's Resource (*.REZ)", "*.rez"},
     {"Monolith's Voice Resource (*.VRZ)", "*.vrz"},
     {"Monolith's Sound Resource (*.SRZ)", "*.srz"},
     {"All files (*.*)", "*.*"}},
    0,
    "rez",
    "",
    false,
    ""};

void Touch(const fs::path& path) {
  std::ofstream(path) << "x";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteScript(const fs::path& path, const std::string& body) {
  std::ofstream(path) << "#!/bin/sh\n" << body;
  chmod(path.c_str(), 0755);
}

TEST(FileDialogFilters, PatternsMatchBothCasesAndZenityGetsTheSelectedFilterFirst) {
  EXPECT_EQ(platform::CaseGlobs("*.*"), (std::vector<std::string>{"*"}));
  EXPECT_EQ(platform::CaseGlobs(" *.Rez ; "), (std::vector<std::string>{"*.rez", "*.REZ"}));
  auto options = kArchiveOptions;
  options.selectedFilter = 1;
  options.startPath = "/no/such/place/CLAW.REZ";
  ScopedEnv home{"HOME", std::string("/")};
  const auto command = platform::ZenityCommand(options);
  ASSERT_EQ(command.size(), 8u);
  EXPECT_EQ(command[2], "--filename=//");  // the home folder when the path leads nowhere
  EXPECT_EQ(command[3], "--file-filter=Monolith's Resource (*.REZ) | *.rez *.REZ");
  EXPECT_EQ(command[6], "--file-filter=All files (*.*) | *");
  EXPECT_EQ(command[7],
            "--file-filter=Monolith's Resources (*.VRZ; *.SRZ; *.REZ) | *.vrz *.VRZ *.srz *.SRZ "
            "*.rez *.REZ");
  // Choosing a folder: no filters, starting in the folder of the given path.
  options.chooseFolder = true;
  options.startPath = "/tmp/not here";
  EXPECT_EQ(
      platform::ZenityCommand(options),
      (std::vector<std::string>{"zenity", "--file-selection", "--filename=/tmp/", "--directory"}));
  EXPECT_EQ(platform::KdialogCommand(options),
            (std::vector<std::string>{"kdialog", "--getexistingdirectory", "/tmp"}));
}

TEST(FileDialogOutput, ChosenFileMustExistAndGetsTheDefaultExtension) {
  TempDir folder;
  Touch(folder / "CLAW.REZ");
  Touch(folder / "GRUNTZ.rez");
  Touch(folder / "notes");
  const std::string base = folder.path().string();
  EXPECT_EQ(platform::ExistingChosenFile(base + "/CLAW.REZ\n", kArchiveOptions),
            base + "/CLAW.REZ");
  EXPECT_EQ(platform::ExistingChosenFile(base + "/GRUNTZ\n", kArchiveOptions),
            base + "/GRUNTZ.rez");
  EXPECT_EQ(platform::ExistingChosenFile(base + "/notes\n", kArchiveOptions), base + "/notes");
  EXPECT_EQ(platform::ExistingChosenFile(base + "/missing.rez\n", kArchiveOptions), std::nullopt);
  EXPECT_EQ(platform::ExistingChosenFile(base + "\n", kArchiveOptions), std::nullopt);  // a folder
  EXPECT_EQ(platform::ExistingChosenFile("", kArchiveOptions), std::nullopt);
}

// An engine that lets the stand-in chooser finish only once the dialog has run
// a frame of the main window, and notes what that frame saw.
class WatchingEngine : public RecordingEngine {
 public:
  explicit WatchingEngine(fs::path releaseFile) : releaseFile(std::move(releaseFile)) {}
  bool System_NextModalFrame() override {
    ++modalFrames;
    if (!platform::IsModalActive()) ++framesWithoutModal;
    Touch(releaseFile);
    return false;
  }
  void System_Redraw() override { ++redraws; }

  fs::path releaseFile;
  int modalFrames = 0, framesWithoutModal = 0, redraws = 0;
};

class DesktopChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(folder / "bin");
    // Only the stand-ins can be found: a real chooser must never start in a test.
    fs::create_symlink(SLEEP_PROGRAM, folder / "bin" / "sleep");
    auto recording = std::make_unique<WatchingEngine>(folder / "release");
    engine = recording.get();
    hgeInstall(std::move(recording));
  }
  void TearDown() override { hgeInstall(nullptr); }

  // A stand-in chooser that records its arguments, waits for the main window's
  // frame, prints what a chooser would and exits with the given code.
  void StandIn(const std::string& name, const std::string& printed, int exitCode) {
    WriteScript(folder / "bin" / name, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                           (folder / (name + ".args")).string() + "'\n" +
                                           "while [ ! -e '" + (folder / "release").string() +
                                           "' ]; do sleep 0.01; done\n" + "printf '%s\\n' '" +
                                           printed + "'\nexit " + std::to_string(exitCode) + "\n");
  }
  std::string Args(const std::string& name) { return ReadFile(folder / (name + ".args")); }

  TempDir folder;
  WatchingEngine* engine = nullptr;
  ScopedEnv path{"PATH", (folder / "bin").string()};
  ScopedEnv display{"DISPLAY", std::string(":0")};
  ScopedEnv desktop{"XDG_CURRENT_DESKTOP", std::nullopt};
};

TEST_F(DesktopChooser, ZenityAnswerIsReturnedWhileTheWindowKeptDrawingAsModal) {
  Touch(folder / "CLAW.REZ");
  StandIn("zenity", (folder / "CLAW.REZ").string(), 0);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), (folder / "CLAW.REZ").string());
  EXPECT_NE(Args("zenity").find("\n--file-filter=Monolith's Resources"), std::string::npos);
  EXPECT_GE(engine->modalFrames, 1);
  EXPECT_GE(engine->redraws, 1);
  EXPECT_EQ(engine->framesWithoutModal, 0);
  EXPECT_FALSE(platform::IsModalActive());
}

TEST_F(DesktopChooser, CancelReturnsNothingAndAsksNoOtherChooser) {
  StandIn("zenity", "", 1);
  StandIn("kdialog", "/should/not/be/asked", 0);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), std::nullopt);
  EXPECT_FALSE(fs::exists(folder / "kdialog.args"));
  // Without any chooser, nor a window for the built-in one, nothing is chosen either.
  fs::remove(folder / "bin" / "zenity");
  fs::remove(folder / "bin" / "kdialog");
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), std::nullopt);
}

TEST_F(DesktopChooser, KdialogIsUsedWhenZenityFailsOrOnKde) {
  Touch(folder / "VOICES.VRZ");
  StandIn("zenity", "", 255);  // could not start its window
  StandIn("kdialog", (folder / "VOICES.VRZ").string(), 0);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), (folder / "VOICES.VRZ").string());
  const std::string args = Args("kdialog");
  EXPECT_EQ(args.rfind("--getopenfilename\n", 0), 0u);
  EXPECT_NE(args.find("*.vrz *.VRZ *.srz *.SRZ *.rez *.REZ|Monolith's Resources (*.VRZ; *.SRZ; "
                      "*.REZ)\n*.rez *.REZ|Monolith's Resource (*.REZ)\n"),
            std::string::npos);

  fs::remove(folder / "zenity.args");
  ScopedEnv kde("XDG_CURRENT_DESKTOP", std::string("KDE"));
  StandIn("zenity", "", 0);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), (folder / "VOICES.VRZ").string());
  EXPECT_FALSE(fs::exists(folder / "zenity.args"));
}

}  // namespace
