#include "PlatformTestSupport.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

std::string PngBytes(int width, int height, const std::function<std::uint32_t(int, int)>& argb) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return {};
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                 y * surface->pitch);
    for (int x = 0; x < width; ++x) row[x] = argb(x, y);
  }
  std::vector<char> buffer(64 * 1024 + static_cast<std::size_t>(width) * height * 8);
  SDL_RWops* stream = SDL_RWFromMem(buffer.data(), static_cast<int>(buffer.size()));
  std::string bytes;
  if (IMG_SavePNG_RW(surface, stream, 0) == 0)
    bytes.assign(buffer.data(), static_cast<std::size_t>(SDL_RWtell(stream)));
  SDL_RWclose(stream);
  SDL_FreeSurface(surface);
  return bytes;
}

std::unique_ptr<SdlEngine> OffscreenEngine() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  auto engine = std::make_unique<SdlEngine>();
  engine->System_SetState(HGE_SCREENWIDTH, 600);
  engine->System_SetState(HGE_SCREENHEIGHT, 300);
  engine->System_SetState(HGE_TITLE, "Tarnwick 1.1a");
  engine->System_SetState(HGE_WINDOWED, true);
  engine->System_SetState(HGE_TEXTUREFILTER, false);
  engine->System_SetState(HGE_FPS, 30);
  engine->System_SetState(HGE_DONTSUSPEND, true);
  EXPECT_TRUE(engine->System_Initiate()) << engine->System_GetErrorMessage();
  return engine;
}

void PushKey(SDL_EventType type, SDL_Keycode key) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  SDL_PushEvent(&event);
}

void PushText(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
  SDL_PushEvent(&event);
}

void PushEvent(SDL_EventType type, int x, int y) {
  SDL_Event event{};
  event.type = type;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.button.x = x;
  event.button.y = y;
  SDL_PushEvent(&event);
}
