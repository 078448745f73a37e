#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/InputTranslator.h"

namespace {

SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  event.key.keysym.mod = mod;
  return event;
}

SDL_Event Text(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
  return event;
}

std::vector<hgeInputEvent> Frame(std::initializer_list<SDL_Event> sdl) {
  InputTranslator input;
  input.BeginFrame();
  for (const SDL_Event& event : sdl) input.Translate(event);
  std::vector<hgeInputEvent> events;
  hgeInputEvent event;
  while (input.NextEvent(&event)) events.push_back(event);
  return events;
}

// Ctrl pressed, V pressed and both released before the frame reads them: the
// V still carries the Ctrl it was pressed with.
TEST(InputTranslator, ModifiersComeFromEachEvent) {
  const auto events =
      Frame({Key(SDL_KEYDOWN, SDLK_LCTRL, KMOD_LCTRL), Key(SDL_KEYDOWN, SDLK_v, KMOD_LCTRL),
             Key(SDL_KEYUP, SDLK_v, KMOD_LCTRL), Key(SDL_KEYUP, SDLK_LCTRL),
             Key(SDL_KEYDOWN, SDLK_TAB, KMOD_LSHIFT), Key(SDL_KEYDOWN, SDLK_TAB)});
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[1].key, 'V');
  EXPECT_EQ(events[1].flags, HGEINP_CTRL);
  EXPECT_EQ(events[3].flags, 0);
  EXPECT_EQ(events[4].key, HGEK_TAB);
  EXPECT_EQ(events[4].flags, HGEINP_SHIFT);
  EXPECT_EQ(events[5].flags, 0);
}

TEST(InputTranslator, TypedTextArrivesAsUnicodeCharacters) {
  // "a" with its key; then é, €, Ж (whose code collides with guichan's special
  // keys) and a broken byte, typed on their own.
  const auto events = Frame({Key(SDL_KEYDOWN, SDLK_a), Text("a"), Key(SDL_KEYDOWN, SDLK_RETURN),
                             Text("\xC3\xA9\xE2\x82\xAC\xD0\x96\xFF\t")});
  std::vector<int> keys, characters;
  for (const auto& event : events) {
    keys.push_back(event.key);
    characters.push_back(event.chr);
  }
  EXPECT_EQ(keys, (std::vector<int>{'A', HGEK_ENTER, 0, 0, 0}));
  EXPECT_EQ(characters, (std::vector<int>{'a', 0, 0xE9, 0x20AC, 0x416}));
}

}  // namespace
