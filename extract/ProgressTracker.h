// Counters through which the worker reports progress to whoever shows it.
//
// Every getter and setter must be called by the thread that holds the lock
// (between Lock and Unlock); anything else is a programming error that ends
// the program at once, so a race is found the first time it happens.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

class ProgressTracker {
 public:
  ProgressTracker() = default;
  ProgressTracker(const ProgressTracker&) = delete;
  ProgressTracker& operator=(const ProgressTracker&) = delete;

  // Polls a non-blocking try every 5 ms: the interface thread must never sit
  // in a blocking wait on the worker.
  void Lock();
  void Unlock();

  void SetCurrent(std::int32_t value);
  void SetTotal(std::int32_t value);
  std::int32_t GetCurrent() const;
  std::int32_t GetTotal() const;
  // True once any setter has run; never cleared.
  bool IsChanged() const;

 private:
  void CheckHeld(const char* operation) const;

  std::int32_t current = 0;
  std::int32_t total = 1;
  bool changed = false;
  std::mutex lock;
  std::atomic<bool> held{false};
  std::atomic<std::thread::id> holder{};
};
