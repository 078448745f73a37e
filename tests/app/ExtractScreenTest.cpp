#include <gtest/gtest.h>

#include <filesystem>

#include "AppHarness.h"
#include "app/states/Details.h"
#include "app/states/Extract.h"
#include "app/states/Summary.h"
#include "archive/cREZ.h"
#include "extract/ExtractJob.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wProgressBar.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"
#include "text/BitmapFont.h"

namespace {

using apptest::AppHarness;
namespace fs = std::filesystem;

constexpr std::uint32_t kGrey = 0xFF777777;
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
  State::Extract* Screen() { return harness.TopAs<State::Extract>(); }
  int Current() { return Screen()->Bar()->value; }
  bool Done() { return job->IsDone(); }

  TempDir temp;
  fs::path archive = temp / "sounds.rez";
  fs::path destination = temp / "out";
  AppHarness harness;
  std::shared_ptr<ExtractJob> job;
};

TEST_F(ExtractScreen, RunsToTheEndThenOffersNext) {
  Start();
  State::Extract* screen = Screen();
  apptest::ExpectPlaced(screen->Bar(), 10, 75, 580, 31);
  apptest::ExpectPlaced(screen->NextButton(), 505, 262, 90, 33);
  apptest::ExpectPlaced(screen->PauseButton(), 400, 262, 90, 33);
  apptest::ExpectPlaced(screen->BackButton(), 295, 262, 90, 33);
  EXPECT_EQ(screen->PauseButton()->getCaption(), "Pause");

  ASSERT_TRUE(harness.FramesUntil([&] { return Screen()->NextButton()->isEnabled(); }));
  harness.Frame();
  EXPECT_FALSE(screen->PauseButton()->isEnabled());
  EXPECT_FALSE(screen->BackButton()->isEnabled());
  EXPECT_EQ(harness.TextStartingWith("Step 3/4: extracting").y, 3);
  const apptest::DrawnText progress = harness.TextStartingWith("Progress: file");
  EXPECT_EQ(progress.text, "Progress: file 4/4");
  EXPECT_EQ(progress.y, 40);
  const apptest::DrawnText percentage = harness.TextStartingWith("100.0%");
  EXPECT_EQ(percentage.y, 80);
  const float width = harness.app.mainFont->GetStringWidth("100.0%", false);
  EXPECT_EQ(percentage.x, 300 - static_cast<int>(width * 0.5f));
  const apptest::DrawnText left = harness.TextStartingWith("Estimated time left:");
  EXPECT_EQ(left.text, "Estimated time left: -");
  EXPECT_EQ(left.y, 132);
  EXPECT_EQ(left.ColourAt(left.text.size() - 1), kGrey);
  EXPECT_EQ(harness.TextStartingWith("Elapsed time:").y, 110);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(fs::file_size(destination / ("S" + std::to_string(i) + ".WAV")), 100u);

  harness.Click(kNext[0], kNext[1]);
  harness.Frame();
  EXPECT_NE(harness.TopAs<State::Summary>(), nullptr);
}

TEST_F(ExtractScreen, ElapsedTimeAndPauseHoldingTheWorkerUntilUnpaused) {
  StartHeldAtTheFirstFile();
  harness.engine->SetDelta(0.25f);
  harness.Frames(4);
  // The frame that opened the screen counts nothing.
  EXPECT_EQ(Screen()->ElapsedMs(), 4 * 250);
  EXPECT_EQ(harness.TextStartingWith("Elapsed time:").text, "Elapsed time: 1000 ms");
  // Nothing done yet: no estimate.
  EXPECT_EQ(harness.TextStartingWith("Estimated time left:").text, "Estimated time left: -");
  EXPECT_EQ(harness.TextStartingWith("0.0%").y, 80);

  // Set as the image library question's Cancel answer does: the buttons follow.
  job->paused.store(true);
  harness.Frame();
  EXPECT_EQ(Screen()->PauseButton()->getCaption(), "Unpause");
  EXPECT_TRUE(Screen()->BackButton()->isEnabled());
  harness.boxes.Release();  // Yes: the first sound is written, then the worker waits
  ASSERT_TRUE(harness.FramesUntil([&] { return Current() == 1; }));
  harness.FramesUntil([] { return false; }, 50);  // time for a wrongful next file
  EXPECT_EQ(Current(), 1);
  EXPECT_FALSE(Done());
  EXPECT_FALSE(fs::exists(destination / "S1.WAV"));

  harness.Click(kPause[0], kPause[1]);
  EXPECT_FALSE(job->paused.load());
  EXPECT_EQ(Screen()->PauseButton()->getCaption(), "Pause");
  EXPECT_FALSE(Screen()->BackButton()->isEnabled());
  ASSERT_TRUE(harness.FramesUntil([&] { return Done(); }));
  EXPECT_EQ(job->Result().status, ExtractStatus::Succeeded);
  EXPECT_TRUE(fs::exists(destination / "S3.WAV"));
  harness.Frame();
  const int atTheEnd = Screen()->ElapsedMs();
  harness.Frames(3);
  EXPECT_EQ(Screen()->ElapsedMs(), atTheEnd);  // the clock stops with the work
}

TEST_F(ExtractScreen, BackWhilePausedAbandonsTheExtraction) {
  StartHeldAtTheFirstFile();
  EXPECT_FALSE(Screen()->BackButton()->isEnabled());
  harness.Click(kBack[0], kBack[1]);  // disabled: nothing happens
  EXPECT_NE(Screen(), nullptr);
  harness.Click(kPause[0], kPause[1]);
  EXPECT_TRUE(job->paused.load());
  EXPECT_EQ(Screen()->PauseButton()->getCaption(), "Unpause");
  harness.boxes.Release();
  ASSERT_TRUE(harness.FramesUntil([&] { return Current() == 1; }));
  harness.Click(kBack[0], kBack[1]);
  harness.Frame();
  State::Details* details = harness.TopAs<State::Details>();
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(details->FileName(), "sounds.rez");

  // The worker stops before its next file.
  ASSERT_TRUE(harness.FramesUntil([&] { return Done(); }));
  EXPECT_EQ(job->Result().status, ExtractStatus::Cancelled);
  EXPECT_FALSE(fs::exists(destination / "S1.WAV"));
  for (const auto& entry : fs::directory_iterator(destination))
    EXPECT_EQ(entry.path().filename().string().rfind(".", 0), std::string::npos)
        << "left behind: " << entry.path();
}

TEST_F(ExtractScreen, ClosingTheWindowStopsTheWorkerBetweenFiles) {
  StartHeldAtTheFirstFile();
  harness.Click(kPause[0], kPause[1]);
  harness.boxes.Release();
  ASSERT_TRUE(harness.FramesUntil([&] { return Current() == 1; }));
  EXPECT_TRUE(harness.engine->exitFunc());  // step 3 lets the program end
  harness.app.workers.CancelAll();
  EXPECT_TRUE(harness.app.workers.WaitAll(std::chrono::seconds(10)));
  EXPECT_TRUE(Done());
  EXPECT_EQ(job->Result().status, ExtractStatus::Cancelled);
  EXPECT_EQ(harness.app.workers.Running(), 0u);
}

TEST_F(ExtractScreen, UnusableDestinationIsReportedOnTheSummary) {
  destination = temp / "gone";
  Start();
  ASSERT_TRUE(harness.FramesUntil([&] { return Screen()->NextButton()->isEnabled(); }));
  harness.Click(kNext[0], kNext[1]);
  harness.Frame();
  State::Summary* summary = harness.TopAs<State::Summary>();
  ASSERT_NE(summary, nullptr);
  const std::vector<std::string> lines = summary->ProblemLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines[0].find("could not run"), std::string::npos);
  EXPECT_NE(lines[1].find("gone"), std::string::npos);
}

TEST(TimeLeftText, DashUntilSomethingIsDoneAndOnceAllIsElseScaledByWhatIsLeft) {
  const std::pair<int, float> dash[] = {{0, 0.0f}, {5000, 0.0f}, {5000, 100.0f}};
  for (const auto& [elapsed, percentage] : dash)
    EXPECT_EQ(State::TimeLeftText(elapsed, percentage), "Estimated time left: ~a~-~w~");
  EXPECT_EQ(State::TimeLeftText(1000, 50.0f), "Estimated time left: ~y~1000 ms~w~");
  EXPECT_EQ(State::TimeLeftText(3000, 25.0f), "Estimated time left: ~y~9 seconds~w~");
  // A tiny percentage gives a long estimate, not an overflowing one.
  const std::string longWait = State::TimeLeftText(60000, 0.00001f);
  EXPECT_NE(longWait.find("days"), std::string::npos) << longWait;
  EXPECT_EQ(longWait.find('-'), std::string::npos) << longWait;
}

}  // namespace
