#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "PlatformTestSupport.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"

namespace {

using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;

// Removes the test's answerer whatever happens.
struct AnswererGuard {
  explicit AnswererGuard(platform::MessageBoxAnswerer answerer) {
    platform::SetMessageBoxAnswerer(std::move(answerer));
  }
  ~AnswererGuard() { platform::SetMessageBoxAnswerer(nullptr); }
};

std::vector<std::string> Labels(MessageBoxButtons buttons) {
  std::vector<std::string> labels;
  for (const auto& button : platform::ButtonsOf(buttons)) labels.push_back(button.label);
  return labels;
}

TEST(MessageBoxButtons, SetsLabelsAndKeyAnswers) {
  using Labels_ = std::vector<std::string>;
  EXPECT_EQ(Labels(MessageBoxButtons::kOk), (Labels_{"OK"}));
  EXPECT_EQ(Labels(MessageBoxButtons::kYesNo), (Labels_{"Yes", "No"}));
  EXPECT_EQ(Labels(MessageBoxButtons::kYesNoCancel), (Labels_{"Yes", "No", "Cancel"}));
  EXPECT_EQ(Labels(MessageBoxButtons::kCancelTryContinue),
            (Labels_{"Cancel", "Try Again", "Continue"}));

  EXPECT_EQ(platform::ButtonsOf(MessageBoxButtons::kCancelTryContinue)[1].answer,
            MessageBoxAnswer::kTryAgain);
  EXPECT_EQ(platform::ReturnAnswer(MessageBoxButtons::kYesNoCancel), MessageBoxAnswer::kYes);
  EXPECT_EQ(platform::ReturnAnswer(MessageBoxButtons::kCancelTryContinue),
            MessageBoxAnswer::kCancel);

  EXPECT_EQ(platform::EscapeAnswer(MessageBoxButtons::kOk), MessageBoxAnswer::kOk);
  EXPECT_EQ(platform::EscapeAnswer(MessageBoxButtons::kYesNo), MessageBoxAnswer::kNo);
  EXPECT_EQ(platform::EscapeAnswer(MessageBoxButtons::kYesNoCancel), MessageBoxAnswer::kCancel);
  EXPECT_EQ(platform::EscapeAnswer(MessageBoxButtons::kCancelTryContinue),
            MessageBoxAnswer::kCancel);
}

TEST(MessageBoxText, Windows1252TextIsShownAsUtf8) {
  EXPECT_EQ(platform::DisplayText("D:\\Games\\CLAW REZ"), "D:\\Games\\CLAW REZ");
  EXPECT_EQ(platform::DisplayText("caf\xC3\xA9"), "caf\xC3\xA9");  // already UTF-8
  EXPECT_EQ(platform::DisplayText("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(platform::DisplayText("\x81"), "?");
}

TEST(MessageBoxSeam, TheAnswererSeesTheRequestWhileTheWindowIsModal) {
  platform::MessageBoxRequest seen;
  bool modalWhileAsked = false;
  AnswererGuard guard([&](const platform::MessageBoxRequest& request) {
    seen = request;
    modalWhileAsked = platform::IsModalActive();
    return MessageBoxAnswer::kNo;
  });
  int owner = 0;
  EXPECT_EQ(platform::ShowMessageBox(&owner, "Overwrite?", "Question",
                                     MessageBoxButtons::kYesNoCancel, MessageBoxIcon::kQuestion),
            MessageBoxAnswer::kNo);
  EXPECT_EQ(seen.owner, &owner);
  EXPECT_EQ(seen.text, "Overwrite?");
  EXPECT_EQ(seen.title, "Question");
  EXPECT_EQ(seen.buttons, MessageBoxButtons::kYesNoCancel);
  EXPECT_EQ(seen.icon, MessageBoxIcon::kQuestion);
  EXPECT_TRUE(modalWhileAsked);
  EXPECT_FALSE(platform::IsModalActive());
}

// Shared between the frame loop and the worker of the next test.
SdlEngine* loop = nullptr;
std::atomic<long> frames{0};
std::atomic<bool> answered{false};
std::atomic<int> clicksSeenWhileModal{0};
std::thread worker;
MessageBoxAnswer workerAnswer = MessageBoxAnswer::kOk;

TEST(MessageBoxFromWorker, TheFrameLoopKeepsRunningWhileTheWorkerWaits) {
  auto engine = OffscreenEngine();
  loop = engine.get();
  frames = 0;
  answered = false;
  clicksSeenWhileModal = 0;

  long framesWhileUp = 0;
  bool timedOut = false;
  AnswererGuard guard([&](const platform::MessageBoxRequest&) {
    // A person answering: the box stays up while the main window draws on.
    // A click on the main window meanwhile must be ignored.
    PushEvent(SDL_MOUSEBUTTONDOWN);
    const long first = frames;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (frames < first + 15 && !(timedOut = std::chrono::steady_clock::now() > giveUp))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    framesWhileUp = frames - first;
    return MessageBoxAnswer::kYes;
  });

  engine->System_SetState(HGE_FRAMEFUNC, [] {
    ++frames;
    if (loop->Input_KeyDown(HGEK_LBUTTON) && platform::IsModalActive()) ++clicksSeenWhileModal;
    if (frames == 1)
      worker = std::thread([] {
        workerAnswer = platform::ShowMessageBox(
            loop->System_GetState(HGE_HWND), "File exists. Overwrite?", "Question",
            MessageBoxButtons::kYesNoCancel, MessageBoxIcon::kQuestion);
        answered = true;
      });
    return answered.load() || frames > 3000;
  });
  engine->System_SetState(HGE_RENDERFUNC, [] {
    loop->Gfx_BeginScene(0);
    loop->Gfx_EndScene();
    return false;
  });
  EXPECT_TRUE(engine->System_Start());
  worker.join();

  EXPECT_FALSE(timedOut);
  EXPECT_GE(framesWhileUp, 15);
  EXPECT_EQ(workerAnswer, MessageBoxAnswer::kYes);
  EXPECT_EQ(clicksSeenWhileModal, 0);
}

}  // namespace
