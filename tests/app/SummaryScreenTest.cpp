#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/states/Select.h"
#include "app/states/Summary.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wTextField.h"
#include "text/BitmapFont.h"

namespace {

using apptest::AppHarness;

class SummaryScreen : public testing::Test {
 protected:
  SummaryScreen() {
    harness.Frame();
    harness.Show(std::make_unique<State::Summary>(harness.app));
  }
  State::Summary* Screen() { return harness.TopAs<State::Summary>(); }
  AppHarness harness;
};

TEST_F(SummaryScreen, TitleAndButtons) {
  ASSERT_NE(Screen(), nullptr);
  harness.Frame();
  EXPECT_EQ(harness.TextStartingWith("Step 4/4: summary").y, 3);
  const SHR::But* next = Screen()->ExtractNextButton();
  EXPECT_EQ(next->getCaption(), "Extract next archive");
  EXPECT_EQ(next->getX(), 420);
  EXPECT_EQ(next->getY(), 262);
  EXPECT_EQ(next->getWidth(), 175);
  EXPECT_EQ(next->getHeight(), 33);
  const SHR::But* exit = Screen()->ExitButton();
  EXPECT_EQ(exit->getCaption(), "Exit");
  EXPECT_EQ(exit->getX(), 340);
  EXPECT_EQ(exit->getWidth(), 75);
  EXPECT_TRUE(Screen()->ProblemLines().empty());
}

TEST_F(SummaryScreen, ExitEndsTheLoopInTheSameFrame) {
  harness.MoveMouse(377, 278);
  hgeInputEvent press;
  press.type = INPUT_MBUTTONDOWN;
  press.key = HGEK_LBUTTON;
  press.x = 377;
  press.y = 278;
  harness.engine->QueueEvent(press);
  EXPECT_FALSE(harness.Frame());
  hgeInputEvent release = press;
  release.type = INPUT_MBUTTONUP;
  harness.engine->QueueEvent(release);
  EXPECT_TRUE(harness.Frame());
}

TEST_F(SummaryScreen, ExtractNextArchiveStartsAfresh) {
  harness.Click(507, 278);
  harness.Frame();
  State::Select* select = harness.TopAs<State::Select>();
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->SourceField()->getText(), "");
  EXPECT_EQ(select->DestinationField()->getText(), "");
  EXPECT_FALSE(select->NextButton()->isEnabled());
}

TEST(SummaryProblems, ListedAndCutToTheScreen) {
  AppHarness harness;
  harness.Frame();
  std::vector<std::string> problems;
  for (int i = 0; i < 20; ++i) problems.push_back("cannot write /out/F" + std::to_string(i));
  problems[0] = "cannot write ~y~" + std::string(200, 'x');
  harness.Show(std::make_unique<State::Summary>(harness.app, problems));
  const std::vector<std::string> lines = harness.TopAs<State::Summary>()->ProblemLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "~r~20 files or folders were not extracted:~w~");
  EXPECT_EQ(lines[1].find('~'), std::string::npos);  // a message cannot recolour the screen
  EXPECT_EQ(lines[1].rfind("...", 0), 0u);           // shortened from the front
  for (const std::string& line : lines)
    EXPECT_LE(harness.app.mainFont->GetStringWidth(line.c_str(), false), 590.0f) << line;
  EXPECT_EQ(lines[2], "cannot write /out/F1");
  EXPECT_EQ(lines[7], "... and 14 more");
  harness.Frame();
  EXPECT_EQ(harness.TextStartingWith("cannot write /out/F1").y, 40 + 2 * 24);
}

}  // namespace
