#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "AppHarness.h"
#include "app/GuiQuestions.h"

namespace {

using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;

TEST(GuiQuestions, OverwriteAndImageErrorBoxesAndTheirAnswers) {
  apptest::BoxScript boxes;
  GuiQuestions questions(nullptr);
  for (MessageBoxAnswer answer :
       {MessageBoxAnswer::kYes, MessageBoxAnswer::kNo, MessageBoxAnswer::kCancel,
        MessageBoxAnswer::kTryAgain, MessageBoxAnswer::kContinue, MessageBoxAnswer::kCancel})
    boxes.Answer(answer);
  EXPECT_EQ(questions.AskOverwrite("File A.WAV in:\n\\\nalready exits."), OverwriteAnswer::Yes);
  EXPECT_EQ(questions.AskOverwrite("x"), OverwriteAnswer::No);
  EXPECT_EQ(questions.AskOverwrite("x"), OverwriteAnswer::OverwriteAll);
  EXPECT_EQ(questions.AskImageError("#1290: could not open file\nFile: A.PID"),
            ImageErrorAnswer::TryAgain);
  EXPECT_EQ(questions.AskImageError("x"), ImageErrorAnswer::Continue);
  EXPECT_EQ(questions.AskImageError("x"), ImageErrorAnswer::Cancel);
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[0].text, "File A.WAV in:\n\\\nalready exits.");
  apptest::ExpectBox(shown[0], "Question", MessageBoxButtons::kYesNoCancel,
                     MessageBoxIcon::kQuestion);
  EXPECT_EQ(shown[3].text, "#1290: could not open file\nFile: A.PID");
  apptest::ExpectBox(shown[3], "DevIL error", MessageBoxButtons::kCancelTryContinue,
                     MessageBoxIcon::kNone);
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
