// A stack of screens. Requests to push, pop or change states are recorded
// while a state runs and carried out at the start of the next frame, when no
// code of the old state is on the call stack.
#pragma once

#include <memory>
#include <vector>

#include "app/cState.h"

class HGE;

class StateManager {
 public:
  // Draws through engine, or through the process's engine when none is given.
  explicit StateManager(HGE* engine = nullptr);
  // Destroys and frees every state, from the bottom of the stack to the top.
  ~StateManager();
  StateManager(const StateManager&) = delete;
  StateManager& operator=(const StateManager&) = delete;

  void RequestPush(std::unique_ptr<SHR::cState> state);
  void RequestPop(int result);
  // Replaces the top state; with an empty stack the state is pushed instead.
  void RequestChange(std::unique_ptr<SHR::cState> state);

  // Frame callback: carries out pending requests, then runs the top's Think.
  bool RunFrame();
  // Render callback: draws the top state (and the one beneath unless the top is opaque).
  bool RunRender();
  // Exit callback: whether the top state lets the program end.
  bool RunExit();

  std::size_t Depth() const { return stack.size(); }
  SHR::cState* Top() const { return stack.empty() ? nullptr : stack.back().get(); }

 private:
  // What the running states asked for since the last frame. A change
  // overrides a pop; a pop is carried out before a push.
  struct Request {
    enum Kind { kNone, kPush, kChange } kind = kNone;
    std::unique_ptr<SHR::cState> state;  // the state to push or to swap in
    bool pop = false;
    int popResult = 0;
  };

  void DestroyTop();
  void Activate(std::unique_ptr<SHR::cState> state);
  void Carry(Request request);

  HGE* engine;
  std::vector<std::unique_ptr<SHR::cState>> stack;  // bottom first
  Request request;
};
