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

  // guichan's key value for an engine key event: the typed character (see
  // KeyValueOfCharacter), else Enter, Tab, Left, Right, Home, End, Delete or
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

// Typed characters reach the widgets as key values equal to their code points,
// except the few that guichan's special keys (1000-1044) would shadow: those
// are moved above Unicode's range, so typing them never acts as a key.
int KeyValueOfCharacter(char32_t character);
// The character a key value types; 0 for a special key, a control or none.
char32_t CharacterOfKeyValue(int value);

}  // namespace gcn
