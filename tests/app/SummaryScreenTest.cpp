#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/states/Select.h"
#include "app/states/Summary.h"
#include "gcnWidgets/wTextField.h"
#include "text/BitmapFont.h"

namespace {

using apptest::AppHarness;

class SummaryScreen : public testing::Test {
 protected:
  SummaryScreen() { harness.Frame(); }
  State::Summary* Show(State::ExtractionReport report = {}) {
    harness.Show(std::make_unique<State::Summary>(harness.app, std::move(report)));
    harness.Frame();
    return harness.TopAs<State::Summary>();
  }
  AppHarness harness;
};

TEST_F(SummaryScreen, ExtractNextStartsAfreshAndExitEnds) {
  Show();
  harness.Click(507, 278);
  harness.Frame();
  State::Select* select = harness.TopAs<State::Select>();
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->SourceField()->getText(), "");
  EXPECT_EQ(select->DestinationField()->getText(), "");
  Show();
  EXPECT_TRUE(harness.Click(377, 278));  // Exit ends the loop in the frame of the click
}

TEST_F(SummaryScreen, ProblemsAreListedLiterallyAndCutToTheScreen) {
  State::ExtractionReport report;
  report.destination = "/out";
  report.result.written = 7;
  report.result.failed = 20;
  for (int i = 0; i < 20; ++i) report.problems.push_back("cannot write /out/F" + std::to_string(i));
  report.problems[0] = "cannot write ~r~" + std::string(200, 'x') + "END";
  const std::vector<State::Summary::Line> lines = Show(report)->Lines();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(State::Summary::Layout::kMaxLines));
  EXPECT_EQ(lines[1].text, "Files written: ~y~7~w~, kept: ~y~0~w~, failed: ~y~20~w~");
  EXPECT_EQ(lines[3].text, "20 files or folders were not extracted:");
  // Shortened in the middle, both ends kept, the tilde drawn as it is.
  EXPECT_EQ(lines[4].text.rfind("cannot write ~r~x", 0), 0u) << lines[4].text;
  EXPECT_NE(lines[4].text.find("...x"), std::string::npos);
  EXPECT_TRUE(harness.HasText(lines[4].text));
  for (const auto& line : lines) {
    harness.app.mainFont->SetLiteral(line.literal);
    EXPECT_LE(harness.app.mainFont->GetStringWidth(line.text.c_str(), false), 590.0f);
  }
  harness.app.mainFont->SetLiteral(false);
  EXPECT_EQ(lines.back().text, "... and 15 more");
}

}  // namespace
