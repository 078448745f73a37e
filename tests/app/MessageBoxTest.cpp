// The message boxes: the one seam every box goes through and the in-window
// box's keys and mouse. A worker's box handed to the main loop, and closing
// the window while it is up, are the end-to-end scenarios' part.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/GuiQuestions.h"
#include "app/MessageBoxView.h"

namespace {

using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;
using platform::MessageBoxRequest;
using A = MessageBoxAnswer;

TEST(MessageBoxSeam, WithoutAnAnswererTheTextGoesToStandardErrorOnceAndTheBoxCountsAsClosed) {
  platform::SetMessageBoxAnswerer(nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::ShowMessageBox("Cannot open a display", "Fatal error", MessageBoxButtons::kOk,
                                     MessageBoxIcon::kError),
            A::kOk);
  EXPECT_EQ(platform::ShowMessageBox("Overwrite?", "Question", MessageBoxButtons::kYesNoCancel,
                                     MessageBoxIcon::kQuestion, A::kNo),
            A::kNo);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Fatal error: Cannot open a display\nQuestion: Overwrite?\n");
}

TEST(GuiQuestions, TheOverwriteQuestionsSafeAnswerKeepsTheFileAndCancelMeansAll) {
  apptest::BoxScript boxes;
  GuiQuestions questions;
  boxes.Answer(A::kNo);
  EXPECT_EQ(questions.AskOverwrite("File exists"), OverwriteAnswer::No);
  boxes.Answer(A::kCancel);
  EXPECT_EQ(questions.AskOverwrite("File exists"), OverwriteAnswer::OverwriteAll);
  boxes.Answer(A::kCancel);
  EXPECT_EQ(questions.AskImageError("bad picture"), ImageErrorAnswer::Cancel);
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].safeAnswer, A::kNo);  // Escape and closing keep this file
  EXPECT_EQ(shown[2].title, "DevIL error");
  EXPECT_EQ(shown[2].safeAnswer, A::kCancel);
}

hgeInputEvent Key(int key, int flags = 0) {
  return {INPUT_KEYDOWN, key, flags, 0, 0, 0, 0};
}
hgeInputEvent Mouse(int type, const BoxRect& on) {
  return {type, HGEK_LBUTTON, 0, 0, 0, on.x + on.w / 2.0f, on.y + on.h / 2.0f};
}

TEST(InWindowBox, KeysAndMouseAnswer) {
  apptest::AppHarness harness;
  const MessageBoxRequest overwrite = {"File exists. Overwrite?", "Question",
                                       MessageBoxButtons::kYesNoCancel, MessageBoxIcon::kQuestion,
                                       A::kNo};
  const std::vector<BoxRect> at = MessageBoxView(harness.app, overwrite).Layout().buttons;
  const struct {
    std::vector<hgeInputEvent> events;
    std::optional<A> answer;
  } cases[] = {
      {{Key(HGEK_ENTER)}, A::kYes},
      {{Key(HGEK_ESCAPE)}, A::kNo},
      {{Key(HGEK_TAB), Key(HGEK_ENTER)}, A::kNo},
      {{Key(HGEK_TAB, HGEINP_SHIFT), Key(HGEK_ENTER)}, A::kCancel},
      {{Key(HGEK_LEFT), Key(HGEK_ENTER)}, A::kCancel},
      {{Key(HGEK_RIGHT), Key(HGEK_RIGHT), Key(HGEK_RIGHT), Key(HGEK_SPACE)}, A::kYes},
      {{Mouse(INPUT_MBUTTONDOWN, at[2]), Mouse(INPUT_MBUTTONUP, at[2])}, A::kCancel},
      {{Mouse(INPUT_MBUTTONDOWN, at[1]), Mouse(INPUT_MBUTTONUP, at[0])}, std::nullopt},
      {{Key('A'), Key(HGEK_BACKSPACE)}, std::nullopt},
  };
  int index = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(index++);
    MessageBoxView view(harness.app, overwrite);
    std::optional<A> answer;
    for (const hgeInputEvent& event : c.events)
      if (!answer) answer = view.Handle(event);
    EXPECT_EQ(answer, c.answer);
  }
}

}  // namespace
