#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/states/Select.h"
#include "app/states/Summary.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wTextField.h"
#include "text/BitmapFont.h"

namespace {

using apptest::AppHarness;
using apptest::ExpectPlaced;

class SummaryScreen : public testing::Test {
 protected:
  SummaryScreen() { harness.Frame(); }
  State::Summary* Show(std::vector<std::string> problems = {}) {
    harness.Show(std::make_unique<State::Summary>(harness.app, std::move(problems)));
    harness.Frame();
    return harness.TopAs<State::Summary>();
  }
  AppHarness harness;
};

TEST_F(SummaryScreen, TitleButtonsAndWhereTheyLead) {
  State::Summary* screen = Show();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(harness.TextStartingWith("Step 4/4: summary").y, 3);
  EXPECT_EQ(screen->ExtractNextButton()->getCaption(), "Extract next archive");
  ExpectPlaced(screen->ExtractNextButton(), 420, 262, 175, 33);
  EXPECT_EQ(screen->ExitButton()->getCaption(), "Exit");
  ExpectPlaced(screen->ExitButton(), 340, 262, 75, 33);
  EXPECT_TRUE(screen->ProblemLines().empty());

  harness.Click(507, 278);
  harness.Frame();
  State::Select* select = harness.TopAs<State::Select>();
  ASSERT_NE(select, nullptr);  // afresh
  EXPECT_EQ(select->SourceField()->getText(), "");
  EXPECT_EQ(select->DestinationField()->getText(), "");
  EXPECT_FALSE(select->NextButton()->isEnabled());

  Show();
  EXPECT_TRUE(harness.Click(377, 278));  // Exit ends the loop in the frame of the click
}

TEST_F(SummaryScreen, ProblemsAreListedAndCutToTheScreen) {
  std::vector<std::string> problems;
  for (int i = 0; i < 20; ++i) problems.push_back("cannot write /out/F" + std::to_string(i));
  problems[0] = "cannot write ~y~" + std::string(200, 'x');
  const std::vector<std::string> lines = Show(problems)->ProblemLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "~r~20 files or folders were not extracted:~w~");
  EXPECT_EQ(lines[1].find('~'), std::string::npos);  // a message cannot recolour the screen
  EXPECT_EQ(lines[1].rfind("...", 0), 0u);           // shortened from the front
  for (const std::string& line : lines)
    EXPECT_LE(harness.app.mainFont->GetStringWidth(line.c_str(), false), 590.0f) << line;
  EXPECT_EQ(lines[2], "cannot write /out/F1");
  EXPECT_EQ(lines[7], "... and 14 more");
  EXPECT_EQ(harness.TextStartingWith("cannot write /out/F1").y, 40 + 2 * 24);
}

}  // namespace
