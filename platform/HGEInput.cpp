#include "platform/HGEInput.h"

#include <chrono>
#include <guichan/exception.hpp>
#include <guichan/key.hpp>

#include "platform/Utf8.h"

namespace gcn {
namespace {

int Milliseconds() {
  using namespace std::chrono;
  static const steady_clock::time_point start = steady_clock::now();
  return static_cast<int>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

unsigned int MouseButton(int key) {
  switch (key) {
    case HGEK_LBUTTON:
      return MouseInput::LEFT;
    case HGEK_RBUTTON:
      return MouseInput::RIGHT;
    case HGEK_MBUTTON:
      return MouseInput::MIDDLE;
    default:
      return MouseInput::EMPTY;
  }
}

constexpr int kShadowedBase = 0x110000;

bool IsPrintable(char32_t character) {
  return !utf8::IsControl(character) && character < 0x110000;
}

}  // namespace

int KeyValueOfCharacter(char32_t character) {
  const auto value = static_cast<int>(character);
  return value >= Key::LEFT_ALT && value <= Key::DOWN ? value + kShadowedBase : value;
}

char32_t CharacterOfKeyValue(int value) {
  if (value >= kShadowedBase + Key::LEFT_ALT && value <= kShadowedBase + Key::DOWN)
    return static_cast<char32_t>(value - kShadowedBase);
  if (value < 0 || (value >= Key::LEFT_ALT && value <= Key::DOWN)) return 0;
  return IsPrintable(static_cast<char32_t>(value)) ? static_cast<char32_t>(value) : 0;
}

HGEInput::HGEInput() : hge(hgeCreate(HGE_VERSION)) {}

KeyInput HGEInput::dequeueKeyInput() {
  if (keyQueue.empty()) throw GCN_EXCEPTION("The queue is empty.");
  KeyInput input = keyQueue.front();
  keyQueue.pop();
  return input;
}

MouseInput HGEInput::dequeueMouseInput() {
  if (mouseQueue.empty()) throw GCN_EXCEPTION("The queue is empty.");
  MouseInput input = mouseQueue.front();
  mouseQueue.pop();
  return input;
}

int HGEInput::KeyValue(const hgeInputEvent& event) {
  if (event.chr > 0 && IsPrintable(static_cast<char32_t>(event.chr)))
    return KeyValueOfCharacter(static_cast<char32_t>(event.chr));
  switch (event.key) {
    case HGEK_ENTER:
      return Key::ENTER;
    case HGEK_TAB:
      return Key::TAB;
    case HGEK_LEFT:
      return Key::LEFT;
    case HGEK_RIGHT:
      return Key::RIGHT;
    case HGEK_HOME:
      return Key::HOME;
    case HGEK_END:
      return Key::END;
    case HGEK_DELETE:
      return Key::DELETE;
    case HGEK_BACKSPACE:
      return Key::BACKSPACE;
    default:
      // Ctrl+letter types no character; the letter still reaches the widgets
      // (with the control flag) so that shortcuts such as Ctrl+V paste.
      if ((event.flags & HGEINP_CTRL) && event.key >= 'A' && event.key <= 'Z')
        return event.key - 'A' + 'a';
      return 0;
  }
}

void HGEInput::_pollInput() {
  hgeInputEvent event;
  while (hge->Input_GetEvent(&event)) {
    switch (event.type) {
      case INPUT_KEYDOWN:
      case INPUT_KEYUP:
        AddKey(event);
        break;
      case INPUT_MBUTTONDOWN:
      case INPUT_MBUTTONUP:
      case INPUT_MOUSEMOVE:
      case INPUT_MOUSEWHEEL:
        AddMouse(event);
        break;
      default:
        break;
    }
  }
}

void HGEInput::AddKey(const hgeInputEvent& event) {
  int value;
  if (event.type == INPUT_KEYDOWN) {
    value = KeyValue(event);
    if (value == 0) return;
    if (event.key) valueOfHeldKey[event.key] = value;
  } else {
    // A release carries no character: it releases what the press typed.
    const auto held = valueOfHeldKey.find(event.key);
    if (held != valueOfHeldKey.end()) {
      value = held->second;
      valueOfHeldKey.erase(held);
    } else {
      value = KeyValue(event);
    }
    if (value == 0) return;
  }
  KeyInput input(Key(value), event.type == INPUT_KEYDOWN ? KeyInput::PRESSED : KeyInput::RELEASED);
  input.setShiftPressed(event.flags & HGEINP_SHIFT);
  input.setControlPressed(event.flags & HGEINP_CTRL);
  input.setAltPressed(event.flags & HGEINP_ALT);
  input.setMetaPressed(false);
  input.setNumericPad(false);
  keyQueue.push(input);
}

void HGEInput::AddMouse(const hgeInputEvent& event) {
  const int x = static_cast<int>(event.x), y = static_cast<int>(event.y);
  switch (event.type) {
    case INPUT_MBUTTONDOWN:
    case INPUT_MBUTTONUP: {
      const unsigned int button = MouseButton(event.key);
      if (button == MouseInput::EMPTY) return;
      mouseQueue.push(MouseInput(
          button, event.type == INPUT_MBUTTONDOWN ? MouseInput::PRESSED : MouseInput::RELEASED, x,
          y, Milliseconds()));
      break;
    }
    case INPUT_MOUSEMOVE:
      mouseQueue.push(MouseInput(MouseInput::EMPTY, MouseInput::MOVED, x, y, Milliseconds()));
      break;
    case INPUT_MOUSEWHEEL:
      if (event.wheel == 0) return;
      mouseQueue.push(
          MouseInput(MouseInput::EMPTY,
                     event.wheel > 0 ? MouseInput::WHEEL_MOVED_UP : MouseInput::WHEEL_MOVED_DOWN, x,
                     y, Milliseconds()));
      break;
  }
}

}  // namespace gcn
