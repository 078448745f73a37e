#include <gtest/gtest.h>

#include <filesystem>

#include "AppHarness.h"
#include "app/Paths.h"
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

class SelectScreen : public testing::Test {
 protected:
  SelectScreen() {
    apptest::WriteSmallArchive(archive);
    harness.Frame();
  }
  State::Select* Screen() { return harness.TopAs<State::Select>(); }
  void ClickNext() {
    harness.Click(545, 278);
    harness.Frame();  // the change of screens happens at the start of a frame
  }
  void Fill(const std::string& source, const std::string& destination) {
    Screen()->SourceField()->setText(source);
    Screen()->DestinationField()->setText(destination);
    Screen()->NextButton()->setEnabled(true);
  }

  TempDir temp;
  fs::path archive = temp / "claw.rez";
  AppHarness harness;
};

TEST_F(SelectScreen, TypingGoesToTheSourceFieldAndItIsCheckedOnEnter) {
  harness.Type(archive.string());  // no click first: the field has the focus
  EXPECT_EQ(Screen()->SourceField()->getText(), archive.string());
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());  // checked only on Enter
  harness.Key(HGEK_ENTER);
  EXPECT_TRUE(Screen()->NextButton()->isEnabled());
  Screen()->SourceField()->setText(temp.path().string());  // a folder is no archive
  harness.Click(250, 87);
  harness.Key(HGEK_ENTER);
  EXPECT_FALSE(Screen()->NextButton()->isEnabled());
}

TEST_F(SelectScreen, MissingDestinationAndItsParentsAreCreatedOnlyOnYes) {
  const fs::path destination = temp / "Téléchargements" / "Ünï" / "claw rez";
  Fill(archive.string(), destination.string());
  harness.boxes.Answer(MessageBoxAnswer::kNo);
  ClickNext();
  ASSERT_EQ(harness.boxes.Shown().size(), 1u);
  EXPECT_EQ(harness.boxes.Shown()[0].text,
            "Destination path does not exist. Do you want to create it?");
  EXPECT_EQ(harness.boxes.Shown()[0].safeAnswer, MessageBoxAnswer::kNo);
  EXPECT_NE(Screen(), nullptr);
  EXPECT_FALSE(fs::exists(destination.parent_path().parent_path()));

  ClickNext();  // Return's answer: Yes
  EXPECT_TRUE(fs::is_directory(destination));
  ASSERT_NE(harness.TopAs<State::Details>(), nullptr);
  EXPECT_EQ(harness.TopAs<State::Details>()->FileName(), "claw.rez");
}

// Each failure is told in one notice, before anything is created, and leaves
// both fields as they were.
TEST_F(SelectScreen, FailuresStayOnStepOneAndCreateNothing) {
  const fs::path broken = temp / "broken.rez", fileInTheWay = temp / "a file";
  rezbuild::WriteBytes(broken, rezbuild::Bytes("not an archive at all"));
  rezbuild::WriteBytes(fileInTheWay, rezbuild::Bytes("x"));
  const fs::path fresh = temp / "fresh" / "out";
  const struct {
    fs::path source;
    std::string destination;
    std::size_t boxes;  // a question about creating the destination comes first
    std::string reason;
  } cases[] = {
      {archive, "", 1, State::kEmptyDestination},
      {broken, fresh.string(), 1, "Invalid format."},
      {temp / "gone.rez", fresh.string(), 1, "gone.rez"},
      {archive, (fileInTheWay / "out").string(), 2, "Not a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source.string() + " -> " + c.destination);
    Fill(c.source.string(), c.destination);
    const std::size_t before = harness.boxes.Shown().size();
    ClickNext();
    const auto shown = harness.boxes.Shown();
    ASSERT_EQ(shown.size(), before + c.boxes);
    EXPECT_EQ(shown.back().title, "Notice");
    EXPECT_NE(shown.back().text.find(c.reason), std::string::npos) << shown.back().text;
    ASSERT_NE(Screen(), nullptr);
    EXPECT_EQ(Screen()->SourceField()->getText(), c.source.string());
    EXPECT_EQ(Screen()->DestinationField()->getText(), c.destination);
  }
  EXPECT_FALSE(fs::exists(fresh.parent_path()));
}

TEST(Paths, SplitAtEitherSeparatorAndTheDestinationIsNeverTheArchive) {
  struct Case {
    std::string (*function)(const std::string&);
    std::string input, expected;
  } cases[] = {
      {PathFileName, "/games/sub\\claw.rez", "claw.rez"},
      {FileBaseName, "claw.old.rez", "claw.old"},
      // The new name is joined with the separator of the file system it is made on.
      {DefaultDestination, "D:\\Games\\CLAW.REZ", "D:\\Games/CLAW REZ"},
      {DefaultDestination, "CLAW.REZ", "CLAW REZ"},
      // Never the archive itself, never a name ending in a space.
      {DefaultDestination, "/data/CLAW", "/data/CLAW extracted"},
      {DefaultDestination, "/data/CLAW.", "/data/CLAW. extracted"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.function(c.input), c.expected) << c.input;
  const std::string hidden = DefaultDestination("/data/.rez");
  EXPECT_NE(hidden, "/data/.rez");
  EXPECT_NE(hidden.back(), ' ');
}

}  // namespace
