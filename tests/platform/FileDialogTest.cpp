#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "platform/FileDialog.h"
#include "support/RecordingEngine.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable until the scope ends.
struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

// Which chooser answers a folder question: zenity, kdialog when zenity cannot
// open a window (or first on KDE), and no other after a cancel. With neither
// installed the built-in one answers: the end-to-end full run shows that.
// Only stand-ins are on PATH: a real chooser never starts in a test.
TEST(FileDialog, FolderModeAsksTheDesktopChoosersInTurn) {
  hgeInstall(std::make_unique<RecordingEngine>());  // the window drawn while a chooser is up
  TempDir temp;
  const fs::path bin = temp / "bin", chosen = temp / "chosen", log = temp / "asked";
  fs::create_directories(chosen);
  fs::create_directories(bin);
  ScopedEnv path{"PATH", bin.string()}, display{"DISPLAY", ":0"};
  platform::OpenFileOptions options;
  options.chooseFolder = true;
  options.startPath = (temp / "new folder").string();  // starts in its existing parent
  const std::string start = temp.path().string();
  const std::string zenity = "zenity --file-selection --filename=" + start + "/ --directory\n";
  const std::string kdialog = "kdialog --getexistingdirectory " + start + "\n";
  const struct {
    int zenityExit;
    const char* desktop;
    std::optional<std::string> result;
    std::string asked;
  } cases[] = {{255, "GNOME", chosen.string(), zenity + kdialog},
               {1, "GNOME", std::nullopt, zenity},  // cancelled
               {0, "KDE", chosen.string(), kdialog}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    fs::remove(log);
    for (const auto& [name, exitCode] : {std::pair{"zenity", c.zenityExit}, {"kdialog", 0}}) {
      std::ofstream(bin / name) << "#!/bin/sh\necho " << name << " \"$@\" >> '" << log.string()
                                << "'\necho '" << chosen.string() << "'\nexit " << exitCode << "\n";
      chmod((bin / name).c_str(), 0755);
    }
    ScopedEnv desktop{"XDG_CURRENT_DESKTOP", c.desktop};
    EXPECT_EQ(platform::ShowOpenFileDialog(options), c.result);
    std::ifstream asked(log);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(asked), {}), c.asked);
  }
  hgeInstall(nullptr);
}

}  // namespace
