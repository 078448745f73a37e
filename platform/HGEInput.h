// Feeds the engine's input events to guichan as its key and mouse input.
#pragma once

#include <guichan/input.hpp>
#include <guichan/keyinput.hpp>
#include <guichan/mouseinput.hpp>
#include <map>
#include <queue>

#include "platform/hge.h"

namespace gcn {

class HGEInput : public Input {
 public:
  HGEInput();

  bool isKeyQueueEmpty() override { return keyQueue.empty(); }
  KeyInput dequeueKeyInput() override;
  bool isMouseQueueEmpty() override { return mouseQueue.empty(); }
  MouseInput dequeueMouseInput() override;
  // Reads every event of the engine's current frame.
  void _pollInput() override;

  // guichan's key value for an engine key event: the typed character for bytes
  // 32-126 and 162-255, else Enter, Tab, Left, Right, Home, End, Delete or
  // Backspace; 0 for keys guichan is not told about.
  static int KeyValue(const hgeInputEvent& event);

 private:
  void AddKey(const hgeInputEvent& event);
  void AddMouse(const hgeInputEvent& event);

  HGE* hge;
  std::queue<KeyInput> keyQueue;
  std::queue<MouseInput> mouseQueue;
  std::map<int, int> valueOfHeldKey;  // engine key -> value sent when it went down
};

}  // namespace gcn
