// Turns SDL's events into the engine's input of one frame: key codes, typed
// characters, mouse moves, buttons and the wheel. Each event carries the
// modifier keys held when it happened, so a Ctrl+V whose Ctrl is released
// within the same frame still pastes.
#pragma once

#include <deque>
#include <vector>

#include "platform/hge.h"

union SDL_Event;

class InputTranslator {
 public:
  // Forgets the last frame's input.
  void BeginFrame();
  // Adds one SDL event to this frame's input; true when it asks to close the window.
  bool Translate(const SDL_Event& event);

  bool WentDown(int key) const;
  float MouseX() const { return mouseX; }
  float MouseY() const { return mouseY; }
  bool NextEvent(hgeInputEvent* event);

 private:
  void Push(int type, int key, int chr, int wheel);
  void AddCharacters(const char* utf8);

  std::vector<int> keysWentDown;
  std::deque<hgeInputEvent> events;
  bool lastKeyAwaitsCharacter = false;
  int modifiers = 0;  // HGEINP_ flags as of the latest key event
  float mouseX = 0, mouseY = 0;
};
