// Small PNG pictures made in memory, an SDL engine on the offscreen driver and
// environment variables set for one test only.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/SdlEngine.h"

// PNG bytes of a width x height picture with the given ARGB colour per pixel.
std::string PngBytes(int width, int height, const std::function<std::uint32_t(int, int)>& argb);

// The SDL engine on SDL's offscreen driver, window 600x300, already initiated.
// The offscreen driver is asked for explicitly, so the engine accepts it.
std::unique_ptr<SdlEngine> OffscreenEngine();

// Queue events as the window system would deliver them. PushEvent makes mouse
// button events (left button, at x, y) and any event that needs no fields.
void PushKey(SDL_EventType type, SDL_Keycode key);
void PushText(const char* utf8);
void PushEvent(SDL_EventType type, int x = 0, int y = 0);

// Sets (or, given nothing, removes) an environment variable until the scope ends.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name(name) {
    if (const char* old = std::getenv(name)) previous = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (previous)
      setenv(name, previous->c_str(), 1);
    else
      unsetenv(name);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name;
  std::optional<std::string> previous;
};
