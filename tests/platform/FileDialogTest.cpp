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
    framesWithoutModal += !platform::IsModalActive();
    Touch(releaseFile);
    return false;
  }
  void System_Redraw() override { ++redraws; }
  fs::path releaseFile;
  int modalFrames = 0, framesWithoutModal = 0, redraws = 0;
};

TEST(DesktopChooser, ZenityThenKdialogWhileTheWindowKeepsDrawingAsModal) {
  TempDir folder;
  fs::create_directory(folder / "bin");
  // Only the stand-ins can be found: a real chooser must never start in a test.
  fs::create_symlink(SLEEP_PROGRAM, folder / "bin" / "sleep");
  auto* engine = new WatchingEngine(folder / "release");
  hgeInstall(std::unique_ptr<HGE>(engine));
  ScopedEnv path{"PATH", (folder / "bin").string()}, display{"DISPLAY", std::string(":0")},
      desktop{"XDG_CURRENT_DESKTOP", std::nullopt};
  // A stand-in chooser records its arguments, waits for the main window's
  // frame, prints what a chooser would and exits with the given code.
  const auto standIn = [&](const std::string& name, const std::string& printed, int exitCode) {
    const fs::path args = folder / (name + ".args");
    fs::remove(args);
    WriteScript(folder / "bin" / name, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                           args.string() + "'\nwhile [ ! -e '" +
                                           (folder / "release").string() +
                                           "' ]; do sleep 0.01; done\nprintf '%s\\n' '" + printed +
                                           "'\nexit " + std::to_string(exitCode) + "\n");
  };
  const fs::path archive = folder / "CLAW.REZ";
  Touch(archive);
  standIn("zenity", archive.string(), 0);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), archive.string());
  EXPECT_NE(ReadFile(folder / "zenity.args").find("\n--file-filter=Monolith's Resources"),
            std::string::npos);
  EXPECT_GE(engine->modalFrames, 1);
  EXPECT_GE(engine->redraws, 1);
  EXPECT_EQ(engine->framesWithoutModal, 0);
  EXPECT_FALSE(platform::IsModalActive());

  // Cancelled: nothing, and no other chooser is asked.
  standIn("zenity", "", 1);
  standIn("kdialog", archive.string(), 0);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), std::nullopt);
  EXPECT_FALSE(fs::exists(folder / "kdialog.args"));
  // Zenity could not start its window: kdialog is asked.
  standIn("zenity", "", 255);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), archive.string());
  const std::string args = ReadFile(folder / "kdialog.args");
  EXPECT_EQ(args.rfind("--getopenfilename\n", 0), 0u);
  EXPECT_NE(args.find("*.vrz *.VRZ *.srz *.SRZ *.rez *.REZ|Monolith's Resources (*.VRZ; *.SRZ; "
                      "*.REZ)\n*.rez *.REZ|Monolith's Resource (*.REZ)\n"),
            std::string::npos);
  // On KDE kdialog comes first.
  ScopedEnv kde("XDG_CURRENT_DESKTOP", std::string("KDE"));
  standIn("zenity", "", 0);
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), archive.string());
  EXPECT_FALSE(fs::exists(folder / "zenity.args"));
  // Without any chooser, nor a window for the built-in one, nothing is chosen.
  fs::remove(folder / "bin" / "zenity");
  fs::remove(folder / "bin" / "kdialog");
  EXPECT_EQ(platform::ShowOpenFileDialog(kArchiveOptions), std::nullopt);
  hgeInstall(nullptr);
}

}  // namespace
