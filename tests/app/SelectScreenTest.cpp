#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AppHarness.h"
#include "app/states/Details.h"
#include "app/states/Select.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wTextField.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

namespace {

using apptest::AppHarness;
using apptest::ExpectPlaced;
using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;
namespace fs = std::filesystem;

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

TEST_F(SelectScreen, LayoutAndTextsWithNextDisabledEvenWhenFilled) {
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
  for (const auto& [label, y] : {std::pair{"Source file:", 50}, {"Destination path:", 150}}) {
    const apptest::DrawnText text = harness.TextStartingWith(label);
    EXPECT_EQ(text.x, 5) << label;
    EXPECT_EQ(text.y, y) << label;
  }

  harness.Show(std::make_unique<State::Select>(harness.app, archive.string(), "/somewhere"));
  EXPECT_EQ(Screen()->SourceField()->getText(), archive.string());
  EXPECT_EQ(Screen()->DestinationField()->getText(), "/somewhere");
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());
}

TEST_F(SelectScreen, TypedSourceIsCheckedOnlyOnEnterAndMustBeAReadableFile) {
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

  Screen()->SourceField()->setText(temp.path().string());  // a folder
  harness.Key(HGEK_ENTER);
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
  apptest::ExpectBox(shown[0], "Question", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion);
  EXPECT_NE(Screen(), nullptr);
  EXPECT_FALSE(fs::exists(destination));

  harness.boxes.Answer(MessageBoxAnswer::kYes);
  ClickNext();
  EXPECT_TRUE(fs::is_directory(destination));
  EXPECT_NE(harness.TopAs<State::Details>(), nullptr);
}

// Each failure is explained in a notice and leaves both fields as they were.
TEST_F(SelectScreen, FailuresStayOnStepOne) {
  const fs::path broken = temp / "broken.rez", fileInTheWay = temp / "a file";
  rezbuild::WriteBytes(broken, rezbuild::Bytes("not an archive at all"));
  rezbuild::WriteBytes(fileInTheWay, rezbuild::Bytes("x"));
  const fs::path unmakeable = temp / "missing parent" / "out";
  const struct {
    fs::path source;
    std::string destination;
    std::size_t boxes;  // a question about creating the destination comes first
    std::string reason;
  } cases[] = {
      {archive, unmakeable.string(), 2, "No such file or directory"},
      {archive, fileInTheWay.string(), 2, fileInTheWay.string()},
      {archive, "", 2, "No destination path was given."},
      {broken, temp.path().string(), 1, "Invalid format."},
      {temp / "removed after the check.rez", temp.path().string(), 1, "removed after the check"},
  };
  ConfirmSource(archive.string());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.string() + " -> " + c.destination);
    Screen()->SourceField()->setText(c.source.string());
    Screen()->DestinationField()->setText(c.destination);
    const std::size_t before = harness.boxes.Count();
    ClickNext();
    const auto shown = harness.boxes.Shown();
    ASSERT_EQ(shown.size(), before + c.boxes);
    apptest::ExpectBox(shown.back(), "Notice", MessageBoxButtons::kOk,
                       MessageBoxIcon::kInformation);
    EXPECT_NE(shown.back().text.find(c.reason), std::string::npos) << shown.back().text;
    const std::string named = c.boxes == 2 ? c.destination : c.source.string();
    EXPECT_NE(shown.back().text.find(named), std::string::npos) << shown.back().text;
    ASSERT_NE(Screen(), nullptr);
    EXPECT_EQ(Screen()->SourceField()->getText(), c.source.string());
    EXPECT_EQ(Screen()->DestinationField()->getText(), c.destination);
  }
  EXPECT_FALSE(fs::exists(unmakeable.parent_path()));
}

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
  for (const char* pattern : {"*.rez", "*.REZ", "*.vrz"})
    EXPECT_NE(passed.find(pattern), std::string::npos) << passed;
}

TEST_F(SelectScreen, ArchiveNamedOnTheCommandLineIsTakenOnceAsIfBrowsed) {
  harness.app.initialSource = archive.string();
  harness.Show(std::make_unique<State::Select>(harness.app));
  EXPECT_EQ(Screen()->SourceField()->getText(), archive.string());
  EXPECT_EQ(Screen()->DestinationField()->getText(), (temp / "claw rez").string());
  EXPECT_TRUE(Screen()->NextButton()->isEnabled());
  harness.Show(std::make_unique<State::Select>(harness.app));  // "another archive" starts empty
  EXPECT_EQ(Screen()->SourceField()->getText(), "");
}

TEST_F(SelectScreen, CancelledBrowseAndBrowseForDestinationChangeNothing) {
  FakeChooser chooser(temp, "exit 1\n");
  TypeDestination("/kept");
  harness.Click(547, 87);
  EXPECT_EQ(Screen()->SourceField()->getText(), "");
  EXPECT_EQ(Screen()->DestinationField()->getText(), "/kept");
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());
  harness.Click(547, 187);
  EXPECT_EQ(harness.boxes.Count(), 0u);
  EXPECT_EQ(Screen()->DestinationField()->getText(), "/kept");
}

}  // namespace
