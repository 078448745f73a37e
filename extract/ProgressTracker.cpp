#include "extract/ProgressTracker.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

void ProgressTracker::Lock() {
  while (!lock.try_lock()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  holder.store(std::this_thread::get_id());
  held.store(true);
}

void ProgressTracker::Unlock() {
  CheckHeld("Unlock");
  held.store(false);
  holder.store(std::thread::id{});
  lock.unlock();
}

void ProgressTracker::CheckHeld(const char* operation) const {
  if (held.load() && holder.load() == std::this_thread::get_id()) return;
  std::fprintf(stderr, "fatal: ProgressTracker::%s called without holding the tracker's lock\n",
               operation);
  std::fflush(stderr);
  std::abort();
}

void ProgressTracker::SetCurrent(std::int32_t value) {
  CheckHeld("SetCurrent");
  current = value;
  changed = true;
}

void ProgressTracker::SetTotal(std::int32_t value) {
  CheckHeld("SetTotal");
  total = value;
  changed = true;
}

std::int32_t ProgressTracker::GetCurrent() const {
  CheckHeld("GetCurrent");
  return current;
}

std::int32_t ProgressTracker::GetTotal() const {
  CheckHeld("GetTotal");
  return total;
}

bool ProgressTracker::IsChanged() const {
  CheckHeld("IsChanged");
  return changed;
}
