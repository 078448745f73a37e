// The message boxes: the one seam every box goes through, the in-window box's
// keys and mouse, and the hand-over of a worker's box to the main loop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "AppHarness.h"
#include "app/GuiQuestions.h"
#include "app/InWindowBoxes.h"
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
  EXPECT_EQ(shown[0].title, "Question");
  EXPECT_EQ(shown[0].buttons, MessageBoxButtons::kYesNoCancel);
  EXPECT_EQ(shown[0].safeAnswer, A::kNo);  // Escape and closing keep this file
  EXPECT_EQ(shown[2].title, "DevIL error");
  EXPECT_EQ(shown[2].safeAnswer, A::kCancel);
}

class InWindowBox : public testing::Test {
 protected:
  InWindowBox() { harness.Frame(); }
  static hgeInputEvent Key(int key, int flags = 0) {
    hgeInputEvent event;
    event.type = INPUT_KEYDOWN;
    event.key = key;
    event.flags = flags;
    return event;
  }
  static hgeInputEvent Mouse(int type, const BoxRect& on) {
    hgeInputEvent event;
    event.type = type;
    event.key = HGEK_LBUTTON;
    event.x = static_cast<float>(on.x + on.w / 2);
    event.y = static_cast<float>(on.y + on.h / 2);
    return event;
  }
  MessageBoxRequest Overwrite() {
    return {"File exists. Overwrite?", "Question", MessageBoxButtons::kYesNoCancel,
            MessageBoxIcon::kQuestion, A::kNo};
  }
  apptest::AppHarness harness;
};

TEST_F(InWindowBox, KeysAndMouseAnswer) {
  MessageBoxView probe(harness.app, Overwrite());
  const std::vector<BoxRect>& at = probe.Layout().buttons;
  const struct {
    std::vector<hgeInputEvent> events;
    std::optional<A> answer;
  } cases[] = {
      {{Key(HGEK_ENTER)}, A::kYes},
      {{Key(HGEK_ESCAPE)}, A::kNo},
      {{Key(HGEK_TAB), Key(HGEK_ENTER)}, A::kNo},
      {{Key(HGEK_TAB), Key(HGEK_TAB), Key(HGEK_TAB), Key(HGEK_ENTER)}, A::kYes},
      {{Key(HGEK_TAB, HGEINP_SHIFT), Key(HGEK_ENTER)}, A::kCancel},
      {{Key(HGEK_RIGHT), Key(HGEK_SPACE)}, A::kNo},
      {{Key(HGEK_LEFT), Key(HGEK_ENTER)}, A::kCancel},
      {{Mouse(INPUT_MBUTTONDOWN, at[2]), Mouse(INPUT_MBUTTONUP, at[2])}, A::kCancel},
      {{Mouse(INPUT_MBUTTONDOWN, at[1]), Mouse(INPUT_MBUTTONUP, at[0])}, std::nullopt},
      {{Key('A'), Key(HGEK_BACKSPACE)}, std::nullopt},
  };
  int index = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(index++);
    MessageBoxView view(harness.app, Overwrite());
    std::optional<A> answer;
    for (const hgeInputEvent& event : c.events)
      if (!answer) answer = view.Handle(event);
    EXPECT_EQ(answer, c.answer);
  }
}

TEST_F(InWindowBox, AWorkersBoxIsShownByTheMainLoopAndClosingAnswersSafely) {
  int closings = 0;
  InWindowBoxes boxes(harness.app, [&] { ++closings; });
  // The main thread's own box runs until a key answers it.
  harness.Queue(INPUT_KEYDOWN, 0, 0, HGEK_ESCAPE);
  EXPECT_EQ(boxes.Answer(Overwrite()), A::kNo);

  std::atomic<bool> answered{false};
  A workerAnswer = A::kOk;
  std::thread worker([&] {
    workerAnswer = boxes.Answer(Overwrite());
    answered = true;
  });
  harness.Queue(INPUT_KEYDOWN, 0, 0, HGEK_TAB);
  harness.Queue(INPUT_KEYDOWN, 0, 0, HGEK_TAB);
  harness.Queue(INPUT_KEYDOWN, 0, 0, HGEK_ENTER);
  for (int i = 0; i < 5000 && !answered; ++i) {
    boxes.ServeWorkers();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  EXPECT_EQ(workerAnswer, A::kCancel);

  // Once closed, a waiting worker and every later box get the safe answer unseen.
  worker = std::thread([&] { workerAnswer = boxes.Answer(Overwrite()); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  boxes.Close();
  worker.join();
  EXPECT_EQ(closings, 1);
  EXPECT_EQ(workerAnswer, A::kNo);
  EXPECT_EQ(boxes.Answer(Overwrite()), A::kNo);
}

}  // namespace
