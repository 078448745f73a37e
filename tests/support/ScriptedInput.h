// Input for guichan fed directly by a test or a tool: the states that need a
// pointer or typing are reached the way a user reaches them.
#pragma once

#include <guichan/input.hpp>
#include <guichan/key.hpp>
#include <guichan/keyinput.hpp>
#include <guichan/mouseinput.hpp>
#include <queue>

class ScriptedInput : public gcn::Input {
 public:
  void MouseMove(int x, int y) { PushMouse(gcn::MouseInput::EMPTY, gcn::MouseInput::MOVED, x, y); }
  void MousePress(int x, int y, unsigned button = gcn::MouseInput::LEFT) {
    PushMouse(button, gcn::MouseInput::PRESSED, x, y);
  }
  void MouseRelease(int x, int y, unsigned button = gcn::MouseInput::LEFT) {
    PushMouse(button, gcn::MouseInput::RELEASED, x, y);
  }
  void KeyPress(int key, bool control = false) { PushKey(key, gcn::KeyInput::PRESSED, control); }
  void KeyRelease(int key, bool control = false) { PushKey(key, gcn::KeyInput::RELEASED, control); }

  bool isKeyQueueEmpty() override { return keys.empty(); }
  gcn::KeyInput dequeueKeyInput() override { return Take(keys); }
  bool isMouseQueueEmpty() override { return mice.empty(); }
  gcn::MouseInput dequeueMouseInput() override { return Take(mice); }
  void _pollInput() override {}

 private:
  template <typename T>
  static T Take(std::queue<T>& queue) {
    T front = queue.front();
    queue.pop();
    return front;
  }
  void PushMouse(unsigned button, unsigned type, int x, int y) {
    // Far apart in time, so that no two presses make a double click.
    timeStamp += 10000;
    mice.push(gcn::MouseInput(button, type, x, y, timeStamp));
  }
  void PushKey(int key, unsigned type, bool control) {
    gcn::KeyInput input(gcn::Key(key), type);
    input.setControlPressed(control);
    keys.push(input);
  }

  std::queue<gcn::KeyInput> keys;
  std::queue<gcn::MouseInput> mice;
  int timeStamp = 0;
};
