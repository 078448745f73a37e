// Base of every wizard screen. The state manager runs the top state each frame
// and swaps states only between frames.
#pragma once

#include <memory>

class StateManager;

namespace SHR {

class cState {
 public:
  virtual ~cState() = default;

  // False: the state directly beneath is prepared and drawn too.
  virtual bool IsOpaque() { return false; }
  // Once, when the state becomes the top by a push or a change.
  virtual void Init() {}
  // Once, just before the manager deletes the state.
  virtual void Destroy() {}
  // Every frame on the top state; true ends the frame loop.
  virtual bool Think() { return false; }
  // Every frame inside the scene.
  virtual bool Render() { return false; }
  // On the state that is the top again after a pop, with the pop's result.
  virtual void Resume(int result) { (void)result; }
  // Every frame before the scene begins.
  virtual void PreRender() {}
  // When the user closes the window; true lets the program end.
  virtual bool CanExit() { return true; }

  // Asks the manager to replace this state by next at the start of the next frame.
  void ChangeState(std::unique_ptr<cState> next);
  // Asks the manager to remove the top state at the start of the next frame.
  void PopState(int result);

  StateManager* manager = nullptr;  // set by the manager
  bool active = false;              // true while the state is the top
};

}  // namespace SHR
