#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "PlatformTestSupport.h"
#include "platform/FileDialog.h"
#include "support/RecordingEngine.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Which chooser answers a folder question: zenity, kdialog when zenity cannot
// open a window (or first on KDE), the built-in one when neither is installed.
// Only stand-ins can be found on PATH: a real chooser never starts in a test.
TEST(FileDialog, FolderModeAsksTheDesktopChoosersInTurnThenTheBuiltInOne) {
  hgeInstall(std::make_unique<RecordingEngine>());  // the window drawn while a chooser is up
  TempDir temp;
  const fs::path bin = temp / "bin", chosen = temp / "chosen", log = temp / "asked";
  fs::create_directories(chosen);
  ScopedEnv path{"PATH", bin.string()}, display{"DISPLAY", std::string(":0")};
  platform::OpenFileOptions options;
  options.chooseFolder = true;
  options.startPath = (temp / "new folder").string();  // starts in its existing parent
  platform::SetBuiltInChooser([](const platform::OpenFileOptions&) { return "built-in"; });
  const std::string start = temp.path().string();
  const std::string zenity = "zenity --file-selection --filename=" + start + "/ --directory\n";
  const std::string kdialog = "kdialog --getexistingdirectory " + start + "\n";
  const struct {
    int zenityExit, kdialogExit;  // -1: not installed
    const char* desktop;
    std::optional<std::string> result;
    std::string asked;
  } cases[] = {
      {0, 0, "GNOME", chosen.string(), zenity},
      {1, 0, "GNOME", std::nullopt, zenity},  // cancelled: no other chooser is asked
      {255, 0, "GNOME", chosen.string(), zenity + kdialog},
      {0, 0, "KDE", chosen.string(), kdialog},
      {-1, -1, "GNOME", "built-in", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    fs::remove_all(bin);
    fs::create_directory(bin);
    fs::remove(log);
    for (const auto& [name, exitCode] :
         {std::pair{"zenity", c.zenityExit}, {"kdialog", c.kdialogExit}}) {
      if (exitCode < 0) continue;
      std::ofstream(bin / name) << "#!/bin/sh\necho " << name << " \"$@\" >> '" << log.string()
                                << "'\necho '" << chosen.string() << "'\nexit " << exitCode << "\n";
      chmod((bin / name).c_str(), 0755);
    }
    ScopedEnv desktop{"XDG_CURRENT_DESKTOP", std::string(c.desktop)};
    EXPECT_EQ(platform::ShowOpenFileDialog(options), c.result);
    std::ifstream asked(log);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(asked), {}), c.asked);
  }
  platform::SetBuiltInChooser(nullptr);
  hgeInstall(nullptr);
}

}  // namespace
