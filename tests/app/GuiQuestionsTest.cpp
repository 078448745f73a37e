#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "AppHarness.h"
#include "app/GuiQuestions.h"

namespace {

using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;

TEST(GuiQuestions, OverwriteIsAQuestionBoxWithThreeAnswers) {
  apptest::BoxScript boxes;
  GuiQuestions questions(nullptr);
  boxes.Answer(MessageBoxAnswer::kYes);
  boxes.Answer(MessageBoxAnswer::kNo);
  boxes.Answer(MessageBoxAnswer::kCancel);
  EXPECT_EQ(questions.AskOverwrite("File A.WAV in:\n\\\nalready exits."), OverwriteAnswer::Yes);
  EXPECT_EQ(questions.AskOverwrite("second"), OverwriteAnswer::No);
  EXPECT_EQ(questions.AskOverwrite("third"), OverwriteAnswer::Cancel);
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].title, "Question");
  EXPECT_EQ(shown[0].text, "File A.WAV in:\n\\\nalready exits.");
  EXPECT_EQ(shown[0].buttons, MessageBoxButtons::kYesNoCancel);
  EXPECT_EQ(shown[0].icon, MessageBoxIcon::kQuestion);
}

TEST(GuiQuestions, ImageErrorIsADevilErrorBoxWithoutIcon) {
  apptest::BoxScript boxes;
  GuiQuestions questions(nullptr);
  boxes.Answer(MessageBoxAnswer::kTryAgain);
  boxes.Answer(MessageBoxAnswer::kContinue);
  boxes.Answer(MessageBoxAnswer::kCancel);
  EXPECT_EQ(questions.AskImageError("#1290: could not open file\nFile: A.PID"),
            ImageErrorAnswer::TryAgain);
  EXPECT_EQ(questions.AskImageError("x"), ImageErrorAnswer::Continue);
  EXPECT_EQ(questions.AskImageError("x"), ImageErrorAnswer::Cancel);
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].title, "DevIL error");
  EXPECT_EQ(shown[0].buttons, MessageBoxButtons::kCancelTryContinue);
  EXPECT_EQ(shown[0].icon, MessageBoxIcon::kNone);
}

TEST(GuiQuestions, FailuresFromSeveralThreadsAreAllKept) {
  GuiQuestions questions(nullptr);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&questions, t] {
      for (int i = 0; i < 100; ++i) questions.ReportFailure(std::to_string(t));
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(questions.Failures().size(), 400u);
}

}  // namespace
