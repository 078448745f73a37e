// The real program started on the recording engine: its resources, skin,
// font and screens, with input scripted event by event, message boxes
// answered by the test, and the text of each frame read back from the glyph
// quads that were drawn.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/Shell.h"
#include "app/StateManager.h"
#include "app/cState.h"
#include "platform/MessageBox.h"
#include "support/RecordingEngine.h"

namespace apptest {

// Root: README.TXT; CLAW/PALETTES/MAIN.PAL, CLAW/IMAGES/FRAME.PID,
// CLAW/SOUNDS/A.WAV and B.WAV, CLAW/LOWER/c.wav. Types in first-met order:
// TXT (1), PAL (1), PID (1), WAV (2), wav (1).
void WriteSmallArchive(const std::filesystem::path& path);

// Every message box shown, in order, from whichever thread. Boxes without a
// scripted answer get the one Return would give; while held, a box stays up
// (its caller blocked) until Release.
class BoxScript {
 public:
  BoxScript() {
    platform::SetMessageBoxAnswerer([this](const platform::MessageBoxRequest& request) {
      std::unique_lock<std::mutex> guard(lock);
      shown.push_back(request);
      changed.notify_all();
      changed.wait(guard, [this] { return !held; });
      if (answers.empty()) return platform::ReturnAnswer(request.buttons);
      const platform::MessageBoxAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    });
  }
  ~BoxScript() { platform::SetMessageBoxAnswerer(nullptr); }
  void Answer(platform::MessageBoxAnswer answer) {
    std::lock_guard<std::mutex> guard(lock);
    answers.push_back(answer);
  }
  std::vector<platform::MessageBoxRequest> Shown() const {
    std::lock_guard<std::mutex> guard(lock);
    return shown;
  }
  void Hold(bool hold = true) {
    std::lock_guard<std::mutex> guard(lock);
    held = hold, changed.notify_all();
  }
  void Release() { Hold(false); }
  bool WaitForCount(std::size_t count) const {  // false after a few seconds
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, std::chrono::seconds(10), [&] { return shown.size() >= count; });
  }

 private:
  mutable std::mutex lock;
  mutable std::condition_variable changed;
  bool held = false;
  std::deque<platform::MessageBoxAnswer> answers;
  std::vector<platform::MessageBoxRequest> shown;
};

class AppHarness {
 public:
  AppHarness();
  ~AppHarness();

  // One frame of the engine's loop; returns the frame callback's result.
  bool Frame();
  void Frames(int count) {
    while (count-- > 0) Frame();
  }
  // Runs frames until condition holds; false when it still does not after maxFrames.
  bool FramesUntil(const std::function<bool()>& condition, int maxFrames = 5000);
  // Makes state the top of the stack (in place of the current one) and runs a frame.
  void Show(std::unique_ptr<SHR::cState> state);
  // Press and release of the left button, one frame each; the release frame's result.
  bool Click(float x, float y);
  void Key(int key, int character = 0);  // press and release in one frame
  void Type(const std::string& text) {
    for (unsigned char c : text) Key(0, c);
  }

  template <typename T>
  T* TopAs() const {
    return dynamic_cast<T*>(app.states->Top());
  }
  // The first text of the last frame (a run of glyphs on one line) that starts
  // with prefix; fails the test when there is none.
  std::string TextStartingWith(const std::string& prefix) const;

  RecordingEngine* engine;
  BoxScript boxes;
  AppContext app;

 private:
  void Queue(int type, float x, float y, int key = 0, int character = 0);
};

}  // namespace apptest
