#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "extract/ProgressTracker.h"

// Starts at 0 of 1, unchanged, and a setter marks it changed; any call without
// the lock, or with a lock another thread holds, ends the program.
TEST(ProgressTrackerDeathTest, StartsAtZeroOfOneAndEndsTheProgramOnCallsWithoutTheLock) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ProgressTracker tracker;
  tracker.Lock();
  EXPECT_FALSE(tracker.IsChanged());
  EXPECT_EQ(std::make_pair(tracker.GetCurrent(), tracker.GetTotal()), std::make_pair(0, 1));
  tracker.SetTotal(7);
  EXPECT_TRUE(tracker.IsChanged());
  EXPECT_EQ(tracker.GetTotal(), 7);
  tracker.Unlock();
  EXPECT_DEATH(tracker.GetCurrent(), "GetCurrent called without holding");
  EXPECT_DEATH(
      {
        std::atomic<bool> locked{false};
        std::atomic<bool> release{false};
        std::thread holder([&] {
          tracker.Lock();
          locked = true;
          while (!release) std::this_thread::yield();
          tracker.Unlock();
        });
        while (!locked) std::this_thread::yield();
        tracker.GetTotal();
        release = true;
        holder.join();
      },
      "GetTotal called without holding");
}
