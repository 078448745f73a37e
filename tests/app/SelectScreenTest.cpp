#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AppHarness.h"
#include "ArchiveFixtures.h"
#include "app/states/Details.h"
#include "app/states/Select.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wTextField.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

namespace {

using apptest::AppHarness;
using platform::MessageBoxAnswer;
namespace fs = std::filesystem;

void ExpectPlaced(const gcn::Widget* widget, int x, int y, int width, int height) {
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->getX(), x);
  EXPECT_EQ(widget->getY(), y);
  EXPECT_EQ(widget->getWidth(), width);
  EXPECT_EQ(widget->getHeight(), height);
}

class SelectScreen : public testing::Test {
 protected:
  SelectScreen() {
    apptest::WriteSmallArchive(archive);
    harness.Frame();
  }
  State::Select* Screen() { return harness.TopAs<State::Select>(); }

  // Types into the source field and confirms with Enter.
  void ConfirmSource(const std::string& text) {
    harness.Click(250, 87);
    harness.Type(text);
    harness.Key(HGEK_ENTER);
  }
  void TypeDestination(const std::string& text) {
    harness.Click(250, 187);
    harness.Type(text);
  }
  void ClickNext() {
    harness.Click(545, 278);
    harness.Frame();  // the change of screens happens at the start of a frame
  }

  TempDir temp;
  fs::path archive = temp / "claw.rez";
  AppHarness harness;
};

TEST_F(SelectScreen, LayoutAndTexts) {
  State::Select* screen = Screen();
  ASSERT_NE(screen, nullptr);
  ExpectPlaced(screen->SourceField(), 5, 75, 500, 24);
  ExpectPlaced(screen->DestinationField(), 5, 175, 500, 24);
  ExpectPlaced(screen->NextButton(), 495, 262, 100, 33);
  ExpectPlaced(screen->BrowseSourceButton(), 510, 75, 75, 25);
  ExpectPlaced(screen->BrowseDestinationButton(), 510, 175, 75, 25);
  EXPECT_EQ(screen->NextButton()->getCaption(), "Next");
  EXPECT_EQ(screen->BrowseSourceButton()->getCaption(), "Browse");
  EXPECT_EQ(screen->BrowseDestinationButton()->getCaption(), "Browse");
  EXPECT_FALSE(screen->NextButton()->isEnabled());
  EXPECT_EQ(screen->SourceField()->getText(), "");
  EXPECT_EQ(screen->DestinationField()->getText(), "");

  const apptest::DrawnText source = harness.TextStartingWith("Source file:");
  EXPECT_EQ(source.x, 5);
  EXPECT_EQ(source.y, 50);
  const apptest::DrawnText destination = harness.TextStartingWith("Destination path:");
  EXPECT_EQ(destination.x, 5);
  EXPECT_EQ(destination.y, 150);
}

TEST_F(SelectScreen, FilledFieldsStillStartWithNextDisabled) {
  harness.Show(std::make_unique<State::Select>(harness.app, archive.string(), "/somewhere"));
  EXPECT_EQ(Screen()->SourceField()->getText(), archive.string());
  EXPECT_EQ(Screen()->DestinationField()->getText(), "/somewhere");
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());
}

TEST_F(SelectScreen, TypedSourceIsCheckedOnlyOnEnter) {
  harness.Click(250, 87);
  harness.Type(archive.string());
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());  // typing alone does not check
  harness.Key(HGEK_ENTER);
  EXPECT_TRUE(Screen()->NextButton()->isEnabled());
  EXPECT_EQ(Screen()->DestinationField()->getText(), "");  // only Browse proposes one

  harness.Type("x");  // now names a file that does not exist
  EXPECT_TRUE(Screen()->NextButton()->isEnabled());
  harness.Key(HGEK_ENTER);
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());
}

TEST_F(SelectScreen, FolderIsNotASource) {
  ConfirmSource(temp.path().string());
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());
}

TEST_F(SelectScreen, ExistingDestinationLeadsToDetails) {
  ConfirmSource(archive.string());
  TypeDestination(temp.path().string());
  ClickNext();
  EXPECT_EQ(harness.boxes.Count(), 0u);
  State::Details* details = harness.TopAs<State::Details>();
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(details->FileName(), "claw.rez");
}

TEST_F(SelectScreen, MissingDestinationIsCreatedOnYes) {
  const fs::path destination = temp / "claw rez";
  ConfirmSource(archive.string());
  TypeDestination(destination.string());
  harness.boxes.Answer(MessageBoxAnswer::kNo);
  ClickNext();
  auto shown = harness.boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Destination path does not exist. Do you want to create it?");
  EXPECT_EQ(shown[0].title, "Question");
  EXPECT_EQ(shown[0].buttons, platform::MessageBoxButtons::kYesNo);
  EXPECT_EQ(shown[0].icon, platform::MessageBoxIcon::kQuestion);
  EXPECT_NE(Screen(), nullptr);
  EXPECT_FALSE(fs::exists(destination));

  harness.boxes.Answer(MessageBoxAnswer::kYes);
  ClickNext();
  EXPECT_TRUE(fs::is_directory(destination));
  EXPECT_NE(harness.TopAs<State::Details>(), nullptr);
}

TEST_F(SelectScreen, DestinationThatCannotBeMadeIsExplained) {
  const fs::path destination = temp / "missing parent" / "out";
  ConfirmSource(archive.string());
  TypeDestination(destination.string());
  ClickNext();  // Return answers Yes
  const auto shown = harness.boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].title, "Notice");
  EXPECT_NE(shown[1].text.find(destination.string()), std::string::npos);
  EXPECT_NE(shown[1].text.find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(fs::exists(destination.parent_path()));
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(Screen()->DestinationField()->getText(), destination.string());
}

TEST_F(SelectScreen, FileInTheWayOfTheDestination) {
  const fs::path destination = temp / "a file";
  rezbuild::WriteBytes(destination, rezbuild::Bytes("x"));
  ConfirmSource(archive.string());
  TypeDestination(destination.string());
  ClickNext();
  const auto shown = harness.boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].title, "Notice");
  EXPECT_NE(Screen(), nullptr);
}

TEST_F(SelectScreen, InvalidArchiveKeepsBothFields) {
  const fs::path broken = temp / "broken.rez";
  rezbuild::WriteBytes(broken, rezbuild::Bytes("not an archive at all"));
  ConfirmSource(broken.string());
  TypeDestination(temp.path().string());
  ClickNext();
  const auto shown = harness.boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Notice");
  EXPECT_EQ(shown[0].icon, platform::MessageBoxIcon::kInformation);
  EXPECT_NE(shown[0].text.find("Invalid format."), std::string::npos);
  EXPECT_NE(shown[0].text.find(broken.string()), std::string::npos);
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(Screen()->SourceField()->getText(), broken.string());
  EXPECT_EQ(Screen()->DestinationField()->getText(), temp.path().string());
}

TEST_F(SelectScreen, ArchiveRemovedAfterTheCheck) {
  ConfirmSource(archive.string());
  TypeDestination(temp.path().string());
  fs::remove(archive);
  ClickNext();
  const auto shown = harness.boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Notice");
  EXPECT_NE(Screen(), nullptr);
}

}  // namespace

namespace {

// A stand-in for the desktop's file chooser, found first on PATH.
class FakeChooser {
 public:
  FakeChooser(const TempDir& temp, const std::string& script)
      : oldPath(std::getenv("PATH") ? std::getenv("PATH") : ""),
        oldDisplay(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") {
    const fs::path bin = temp / "bin";
    fs::create_directories(bin);
    rezbuild::WriteBytes(bin / "zenity", rezbuild::Bytes("#!/bin/sh\n" + script));
    fs::permissions(bin / "zenity", fs::perms::owner_all);
    ::setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
    ::setenv("DISPLAY", ":98", 1);
    ::unsetenv("XDG_CURRENT_DESKTOP");
  }
  ~FakeChooser() {
    ::setenv("PATH", oldPath.c_str(), 1);
    if (oldDisplay.empty())
      ::unsetenv("DISPLAY");
    else
      ::setenv("DISPLAY", oldDisplay.c_str(), 1);
  }

 private:
  std::string oldPath, oldDisplay;
};

TEST_F(SelectScreen, BrowseFillsBothFields) {
  const fs::path arguments = temp / "arguments";
  FakeChooser chooser(temp, "printf '%s\\n' \"$@\" > '" + arguments.string() + "'\necho '" +
                                archive.string() + "'\n");
  harness.Click(547, 87);
  ASSERT_NE(Screen(), nullptr);
  EXPECT_EQ(Screen()->SourceField()->getText(), archive.string());
  EXPECT_EQ(Screen()->DestinationField()->getText(), (temp / "claw rez").string());
  EXPECT_TRUE(Screen()->NextButton()->isEnabled());
  // The archives are found whatever the case of their extension.
  std::ifstream in(arguments);
  const std::string passed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(passed.find("*.rez"), std::string::npos) << passed;
  EXPECT_NE(passed.find("*.REZ"), std::string::npos) << passed;
  EXPECT_NE(passed.find("*.vrz"), std::string::npos) << passed;
}

TEST_F(SelectScreen, CancelledBrowseChangesNothing) {
  FakeChooser chooser(temp, "exit 1\n");
  harness.Click(250, 187);
  harness.Type("/kept");
  harness.Click(547, 87);
  EXPECT_EQ(Screen()->SourceField()->getText(), "");
  EXPECT_EQ(Screen()->DestinationField()->getText(), "/kept");
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());
}

TEST_F(SelectScreen, BrowseForDestinationDoesNothing) {
  harness.Click(547, 187);
  EXPECT_EQ(harness.boxes.Count(), 0u);
  EXPECT_EQ(Screen()->DestinationField()->getText(), "");
}

}  // namespace
