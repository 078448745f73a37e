// The program's answerer of message boxes (installed with
// platform::SetMessageBoxAnswerer): every box is drawn inside the window
// over the current screen, which keeps being drawn beneath it.
//
// On the main thread a box runs a nested frame loop until it is answered;
// the code that asked waits, as it would for a system dialog. A worker
// thread's box is queued and the worker blocks; the main loop shows it on
// its next frame (ServeWorkers) and hands the answer back.
//
// Closing the window while a box is up answers it with its safe answer, and
// so is every box asked after that, without being shown: the program is
// ending and nobody is left to see them.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/MessageBox.h"

struct AppContext;
class MessageBoxView;

class InWindowBoxes {
 public:
  // Must be made on the main thread, the one that runs the frame loop.
  // whenClosed runs once, on the main thread, when the boxes close and before
  // any waiting worker gets its answer (the program cancels its jobs there,
  // so that a worker stops at its next pause point).
  InWindowBoxes(AppContext& app, std::function<void()> whenClosed);
  ~InWindowBoxes();
  InWindowBoxes(const InWindowBoxes&) = delete;
  InWindowBoxes& operator=(const InWindowBoxes&) = delete;

  // The answerer: shows the box from any thread and waits for its answer.
  platform::MessageBoxAnswer Answer(const platform::MessageBoxRequest& request);
  // Main thread, once a frame: shows the boxes workers wait on, oldest first.
  void ServeWorkers();
  // Render callback while a box is up: the current screen, then the box.
  // False when no box is up (the state manager draws the frame).
  bool Render();
  // Answers every waiting and later box safely without showing it. Main thread.
  void Close();
  // True once the window was closed while a box was up, or Close was called.
  bool Closed() const;

 private:
  struct Waiting {
    const platform::MessageBoxRequest* request;
    std::optional<platform::MessageBoxAnswer> answer;
  };

  platform::MessageBoxAnswer RunModal(const platform::MessageBoxRequest& request);

  AppContext& app;
  std::function<void()> whenClosed;
  const std::thread::id mainThread;
  MessageBoxView* shown = nullptr;
  mutable std::mutex lock;
  std::condition_variable answered;
  std::deque<Waiting*> waiting;
  bool closed = false;
};
