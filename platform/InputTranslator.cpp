#include "platform/InputTranslator.h"

#include <SDL.h>

#include <algorithm>
#include <string_view>

#include "platform/Utf8.h"

namespace {

// HGE's key codes (Windows virtual keys) for the SDL keys the program can use;
// 0 for a key that only matters for the character it types.
int KeyCode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
  struct Pair {
    SDL_Keycode sdl;
    int hge;
  };
  static constexpr Pair kKeys[] = {{SDLK_RETURN, HGEK_ENTER},  {SDLK_KP_ENTER, HGEK_ENTER},
                                   {SDLK_TAB, HGEK_TAB},       {SDLK_BACKSPACE, HGEK_BACKSPACE},
                                   {SDLK_ESCAPE, HGEK_ESCAPE}, {SDLK_SPACE, HGEK_SPACE},
                                   {SDLK_LEFT, HGEK_LEFT},     {SDLK_RIGHT, HGEK_RIGHT},
                                   {SDLK_UP, HGEK_UP},         {SDLK_DOWN, HGEK_DOWN},
                                   {SDLK_HOME, HGEK_HOME},     {SDLK_END, HGEK_END},
                                   {SDLK_PAGEUP, HGEK_PGUP},   {SDLK_PAGEDOWN, HGEK_PGDN},
                                   {SDLK_INSERT, HGEK_INSERT}, {SDLK_DELETE, HGEK_DELETE},
                                   {SDLK_LSHIFT, HGEK_SHIFT},  {SDLK_RSHIFT, HGEK_SHIFT},
                                   {SDLK_LCTRL, HGEK_CTRL},    {SDLK_RCTRL, HGEK_CTRL},
                                   {SDLK_LALT, HGEK_ALT},      {SDLK_RALT, HGEK_ALT}};
  for (const Pair& pair : kKeys)
    if (pair.sdl == key) return pair.hge;
  return 0;
}

// Keys whose press is followed by the character they type.
bool TypesCharacter(SDL_Keycode key) {
  return key == SDLK_SPACE || (key > SDLK_SPACE && key < SDLK_DELETE) ||
         (key >= 0xA0 && !(key & SDLK_SCANCODE_MASK));
}

int ModifierFlags(Uint16 mods) {
  int flags = 0;
  if (mods & KMOD_SHIFT) flags |= HGEINP_SHIFT;
  if (mods & KMOD_CTRL) flags |= HGEINP_CTRL;
  if (mods & KMOD_ALT) flags |= HGEINP_ALT;
  return flags;
}

int MouseKey(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return HGEK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return HGEK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return HGEK_MBUTTON;
    default:
      return 0;
  }
}

}  // namespace

void InputTranslator::BeginFrame() {
  keysWentDown.clear();
  events.clear();
  lastKeyAwaitsCharacter = false;
}

void InputTranslator::Push(int type, int key, int chr, int wheel) {
  events.push_back({type, key, modifiers, chr, wheel, mouseX, mouseY});
}

bool InputTranslator::Translate(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      // The modifiers as they were for this key, not as they are after the batch.
      modifiers = ModifierFlags(event.key.keysym.mod);
      const SDL_Keycode sym = event.key.keysym.sym;
      const int key = KeyCode(sym);
      const bool typesCharacter = TypesCharacter(sym);
      lastKeyAwaitsCharacter = false;
      if (key == 0 && !typesCharacter) break;
      const bool down = event.type == SDL_KEYDOWN;
      Push(down ? INPUT_KEYDOWN : INPUT_KEYUP, key, 0, 0);
      if (down) {
        if (key && !event.key.repeat) keysWentDown.push_back(key);
        lastKeyAwaitsCharacter = typesCharacter;
      }
      break;
    }
    case SDL_TEXTINPUT:
      AddCharacters(event.text.text);
      break;
    case SDL_MOUSEMOTION:
      mouseX = static_cast<float>(event.motion.x);
      mouseY = static_cast<float>(event.motion.y);
      Push(INPUT_MOUSEMOVE, 0, 0, 0);
      lastKeyAwaitsCharacter = false;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const int key = MouseKey(event.button.button);
      if (!key) break;
      mouseX = static_cast<float>(event.button.x);
      mouseY = static_cast<float>(event.button.y);
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      Push(down ? INPUT_MBUTTONDOWN : INPUT_MBUTTONUP, key, 0, 0);
      if (down) keysWentDown.push_back(key);
      lastKeyAwaitsCharacter = false;
      break;
    }
    case SDL_MOUSEWHEEL: {
      int steps = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
      if (steps == 0) break;
      Push(INPUT_MOUSEWHEEL, 0, 0, steps);
      lastKeyAwaitsCharacter = false;
      break;
    }
    default:
      break;
  }
  return false;
}

void InputTranslator::AddCharacters(const char* utf8) {
  const std::string_view text(utf8);
  for (std::size_t at = 0; at < text.size();) {
    const char32_t character = utf8::NextCodePoint(text, at);
    // Control characters and undecodable bytes type nothing.
    if (utf8::IsControl(character) || character == utf8::kReplacement) continue;
    // The first character belongs to the key press just before it, as one
    // event, the way the program's input adapter expects typing to arrive.
    if (lastKeyAwaitsCharacter && !events.empty() && events.back().type == INPUT_KEYDOWN &&
        events.back().chr == 0) {
      events.back().chr = static_cast<int>(character);
    } else {
      Push(INPUT_KEYDOWN, 0, static_cast<int>(character), 0);
    }
    lastKeyAwaitsCharacter = false;
  }
}

bool InputTranslator::WentDown(int key) const {
  return std::find(keysWentDown.begin(), keysWentDown.end(), key) != keysWentDown.end();
}

bool InputTranslator::NextEvent(hgeInputEvent* event) {
  if (events.empty() || !event) return false;
  *event = events.front();
  events.pop_front();
  return true;
}
