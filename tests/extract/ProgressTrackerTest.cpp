#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "extract/ProgressTracker.h"

namespace {

TEST(ProgressTracker, StartsUnchangedAndAnySetterMarksItChangedForGood) {
  ProgressTracker tracker;
  tracker.Lock();
  EXPECT_FALSE(tracker.IsChanged());
  EXPECT_EQ(tracker.GetCurrent(), 0);
  EXPECT_EQ(tracker.GetTotal(), 1);
  tracker.SetTotal(7);
  tracker.Unlock();
  tracker.Lock();
  EXPECT_TRUE(tracker.IsChanged());
  EXPECT_EQ(tracker.GetTotal(), 7);
  tracker.Unlock();
}

TEST(ProgressTracker, SecondThreadWaitsUntilTheFirstUnlocks) {
  ProgressTracker tracker;
  tracker.Lock();
  tracker.SetCurrent(1);

  std::atomic<bool> entered{false};
  std::thread second([&] {
    tracker.Lock();
    entered = true;
    tracker.SetCurrent(tracker.GetCurrent() + 1);
    tracker.Unlock();
  });
  // However long we hold it, the other thread must not get in.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(entered.load());
  tracker.SetCurrent(5);
  tracker.Unlock();
  second.join();

  EXPECT_TRUE(entered.load());
  tracker.Lock();
  EXPECT_EQ(tracker.GetCurrent(), 6);
  tracker.Unlock();
}

using ProgressTrackerDeathTest = ::testing::Test;

TEST_F(ProgressTrackerDeathTest, CallsOutsideLockEndTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ProgressTracker tracker;
  EXPECT_DEATH(tracker.GetCurrent(), "GetCurrent called without holding");
  EXPECT_DEATH(tracker.SetTotal(3), "SetTotal called without holding");
  EXPECT_DEATH(tracker.Unlock(), "Unlock called without holding");
  tracker.Lock();
  tracker.Unlock();
  EXPECT_DEATH(tracker.SetCurrent(1), "SetCurrent called without holding");
}

TEST_F(ProgressTrackerDeathTest, ALockHeldByAnotherThreadDoesNotCount) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        ProgressTracker tracker;
        std::atomic<bool> locked{false};
        std::atomic<bool> release{false};
        std::thread holder([&] {
          tracker.Lock();
          locked = true;
          while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
          tracker.Unlock();
        });
        while (!locked) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        tracker.GetTotal();
        release = true;
        holder.join();
      },
      "GetTotal called without holding");
}

}  // namespace
