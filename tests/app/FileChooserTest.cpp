#include <gtest/gtest.h>

#include <fstream>
#include <guichan/key.hpp>
#include <guichan/keyevent.hpp>

#include "AppHarness.h"
#include "app/FileChooser.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::string>;

class FileChooserTest : public testing::Test {
 protected:
  FileChooserTest() {
    fs::create_directories(games / "CLAW");
    for (const char* name : {"CLAW.REZ", "SOUNDS.srz", "readme.txt", "a~r~.rez"})
      std::ofstream(games / name) << "x";
    options.filters = {{"Monolith's Resources", "*.vrz;*.srz;*.rez"}, {"All files", "*.*"}};
    options.defaultExtension = "rez";
  }
  TempDir temp;
  fs::path games = temp / "Games";
  platform::OpenFileOptions options;
  apptest::AppHarness harness;
};

TEST_F(FileChooserTest, ListsFoldersThenFilteredFilesAndPicksByDoubleClickOrName) {
  FileChooser chooser(harness.app, options, games);
  EXPECT_EQ(chooser.entries(), (Rows{"..", "CLAW/", "CLAW.REZ", "SOUNDS.srz", "a~r~.rez"}));
  chooser.SelectFilter(1);
  EXPECT_EQ(chooser.entries().size(), 6u);
  chooser.Open(1);  // a folder: entered
  EXPECT_EQ(chooser.folder(), games / "CLAW");
  chooser.Open(0);  // "..": back up
  EXPECT_EQ(chooser.folder(), games);
  chooser.SetName("SOUNDS");  // no such file: nothing is picked
  chooser.Confirm();
  EXPECT_EQ(chooser.outcome(), FileChooser::Outcome::kOpen);
  EXPECT_EQ(chooser.message(), "File not found.");
  chooser.SetName("CLAW");  // a folder's name enters it
  chooser.Confirm();
  EXPECT_EQ(chooser.folder(), games / "CLAW");
  chooser.Open(0);
  chooser.SelectFilter(0);
  chooser.Open(2);  // a file: picked
  EXPECT_EQ(chooser.outcome(), FileChooser::Outcome::kChosen);
  EXPECT_EQ(chooser.chosenPath(), (games / "CLAW.REZ").string());
}

// Folder mode: the current folder or a named one, which need not exist (step 1 offers to create
// it).
TEST_F(FileChooserTest, FolderModeListsFoldersOnlyAndEscapeCancels) {
  options.chooseFolder = true;
  FileChooser chooser(harness.app, options, games);
  EXPECT_EQ(chooser.entries(), (Rows{"..", "CLAW/"}));
  chooser.SetName("new folder");
  chooser.Confirm();
  EXPECT_EQ(chooser.chosenPath(), (games / "new folder").string());
  FileChooser cancelled(harness.app, options, games);
  gcn::KeyEvent escape(&cancelled, false, false, false, false, gcn::KeyEvent::PRESSED, false,
                       gcn::Key(gcn::Key::ESCAPE));
  cancelled.keyPressed(escape);
  EXPECT_EQ(cancelled.outcome(), FileChooser::Outcome::kCancelled);
}

}  // namespace
