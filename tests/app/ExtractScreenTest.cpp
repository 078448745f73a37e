#include <gtest/gtest.h>

#include <filesystem>

#include "AppHarness.h"
#include "app/states/Details.h"
#include "app/states/Extract.h"
#include "app/states/Select.h"
#include "app/states/Summary.h"
#include "archive/cREZ.h"
#include "extract/ExtractJob.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wProgressBar.h"
#include "gcnWidgets/wTextField.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

namespace {

using apptest::AppHarness;
namespace fs = std::filesystem;

constexpr float kPause[] = {445, 278}, kBack[] = {340, 278}, kNext[] = {550, 278};

// Sounds S0..S3 at the archive's root, all of them ticked.
class ExtractScreen : public testing::Test {
 protected:
  ExtractScreen() {
    std::vector<rezbuild::Node> sounds;
    for (int i = 0; i < 4; ++i)
      sounds.push_back(
          rezbuild::FileNode("S" + std::to_string(i), "WAV",
                             std::vector<unsigned char>(100, static_cast<unsigned char>(i))));
    rezbuild::Write(archive, rezbuild::Folder("ROOT", sounds));
    fs::create_directory(destination);
    harness.Frame();
  }

  void Start() {
    ExtractOptions options;
    options.fileCount = 4;
    options.types = {{"WAV", true}};
    options.extractEmptyFolders = true;
    harness.Show(std::make_unique<State::Extract>(harness.app, archive.string(),
                                                  destination.string(),
                                                  std::make_shared<REZ::Parser>(archive), options));
    ASSERT_NE(Screen(), nullptr);
    job = Screen()->Job();
  }
  // The first sound exists already, so the worker stops at the overwrite
  // question until the test releases it.
  void StartHeldAtTheFirstFile() {
    rezbuild::WriteBytes(destination / "S0.WAV", rezbuild::Bytes("older"));
    harness.boxes.Hold();
    Start();
    ASSERT_TRUE(harness.boxes.WaitForCount(1));
  }
  // Paused, then the first file written: the worker waits before the second.
  void PausedAfterTheFirstFile() {
    StartHeldAtTheFirstFile();
    harness.Click(kPause[0], kPause[1]);
    harness.boxes.Release();
    ASSERT_TRUE(harness.FramesUntil([&] { return Current() == 1; }));
  }
  State::Extract* Screen() { return harness.TopAs<State::Extract>(); }
  int Current() { return Screen()->Bar()->value; }
  bool Done() { return job->IsDone(); }

  TempDir temp;
  fs::path archive = temp / "sounds.rez";
  fs::path destination = temp / "out";
  AppHarness harness;
  std::shared_ptr<ExtractJob> job;
};

TEST_F(ExtractScreen, RunsToTheEndAndStepFourTellsWhatHappened) {
  rezbuild::WriteBytes(destination / "S2.WAV", rezbuild::Bytes("older"));
  harness.boxes.Answer(platform::MessageBoxAnswer::kNo);  // keep it
  Start();
  ASSERT_TRUE(harness.FramesUntil([&] { return Screen()->NextButton()->isEnabled(); }));
  harness.Frame();
  ASSERT_EQ(harness.boxes.Shown().size(), 1u);
  EXPECT_FALSE(Screen()->PauseButton()->isEnabled());
  EXPECT_FALSE(Screen()->BackButton()->isEnabled());
  EXPECT_EQ(harness.TextStartingWith("Progress: file"), "Progress: file 4/4");
  EXPECT_EQ(harness.TextStartingWith("Estimated time left:"), "Estimated time left: -");
  EXPECT_EQ(fs::file_size(destination / "S2.WAV"), 5u);

  harness.Click(kNext[0], kNext[1]);
  harness.Frame();
  ASSERT_NE(harness.TopAs<State::Summary>(), nullptr);
  EXPECT_EQ(harness.TextStartingWith("Destination:"), "Destination: " + destination.string());
  EXPECT_EQ(harness.TextStartingWith("Files written:"), "Files written: 3, kept: 1, failed: 0");
  EXPECT_EQ(harness.TextStartingWith("Size of the selected files:")
                .find("Size of the selected files: 400 bytes, time: "),
            0u);
  harness.Click(507, 278);  // Extract next: step 1 afresh
  harness.Frame();
  State::Select* select = harness.TopAs<State::Select>();
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->SourceField()->getText() + select->DestinationField()->getText(), "");
}

TEST_F(ExtractScreen, TheClockStopsWhilePausedAndPauseHoldsTheWorker) {
  StartHeldAtTheFirstFile();
  harness.engine->SetDelta(0.25f);
  harness.Frames(4);
  // The frame that opened the screen counts nothing.
  EXPECT_EQ(Screen()->ElapsedMs(), 4 * 250);
  // Set as the image library question's Cancel answer does: the buttons follow.
  job->paused.store(true);
  harness.Frames(3);
  EXPECT_EQ(Screen()->ElapsedMs(), 4 * 250);
  EXPECT_EQ(Screen()->PauseButton()->getCaption(), "Unpause");
  EXPECT_TRUE(Screen()->BackButton()->isEnabled());
  harness.boxes.Release();  // Yes: the first sound is written, then the worker waits
  ASSERT_TRUE(harness.FramesUntil([&] { return Current() == 1; }));
  harness.FramesUntil([] { return false; }, 50);  // time for a wrongful next file
  EXPECT_EQ(Current(), 1);
  EXPECT_FALSE(fs::exists(destination / "S1.WAV"));

  harness.Click(kPause[0], kPause[1]);
  EXPECT_FALSE(job->paused.load());
  EXPECT_FALSE(Screen()->BackButton()->isEnabled());
  ASSERT_TRUE(harness.FramesUntil([&] { return Done(); }));
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
  harness.Frame();
  const int atTheEnd = Screen()->ElapsedMs();
  harness.Frames(3);
  EXPECT_EQ(Screen()->ElapsedMs(), atTheEnd);  // the clock stops with the work
}

TEST_F(ExtractScreen, BackWhilePausedAbandonsTheJobAndRestoresStepTwoWithItsTicks) {
  PausedAfterTheFirstFile();
  harness.Click(kBack[0], kBack[1]);
  harness.Frame();
  State::Details* details = harness.TopAs<State::Details>();
  ASSERT_NE(details, nullptr);
  EXPECT_TRUE(details->TypeBox(0)->isSelected());
  EXPECT_TRUE(details->EmptyFoldersBox()->isSelected());
  EXPECT_FALSE(details->PidBox()->isSelected());

  // The worker stops before its next file.
  ASSERT_TRUE(harness.FramesUntil([&] { return Done(); }));
  EXPECT_EQ(job->Result().status, ExtractStatus::Cancelled);
  EXPECT_FALSE(fs::exists(destination / "S1.WAV"));
}

TEST_F(ExtractScreen, UnusableDestinationIsReportedOnTheSummary) {
  destination = temp / "gone";
  Start();
  ASSERT_TRUE(harness.FramesUntil([&] { return Screen()->NextButton()->isEnabled(); }));
  harness.Click(kNext[0], kNext[1]);
  harness.Frame();
  ASSERT_NE(harness.TopAs<State::Summary>(), nullptr);
  EXPECT_EQ(harness.TextStartingWith("The extraction could not run:"),
            "The extraction could not run:");
  EXPECT_NE(harness.TextStartingWith("Destination:").find("gone"), std::string::npos);
}

// The screen passes a percentage; the estimate wants a fraction.
TEST(TimeLeftText, ScalesByThePercentageLeftAndDashesWhenDone) {
  EXPECT_EQ(State::TimeLeftText(3000, 25.0f), "Estimated time left: ~y~9 seconds~w~");
  EXPECT_EQ(State::TimeLeftText(5000, 100.0f), "Estimated time left: ~a~-~w~");
}

}  // namespace
