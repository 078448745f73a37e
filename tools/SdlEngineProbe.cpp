#include "tools/SdlEngineProbe.h"

#include <SDL.h>
#include <SDL_image.h>

#include "platform/SdlEngine.h"

std::vector<std::uint32_t> SdlEngineProbe::ShownFrame(SdlEngine& engine) {
  if (!engine.renderer) return {};
  const int width = engine.numbers[HGE_SCREENWIDTH], height = engine.numbers[HGE_SCREENHEIGHT];
  // Drawn again into the back buffer: what a presented buffer holds is undefined.
  engine.recorder.ReplayShown(engine.renderer, width, height, engine.Textures());
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  if (SDL_RenderReadPixels(engine.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                           width * 4) != 0)
    return {};
  return pixels;
}

bool SdlEngineProbe::SaveShownFrame(SdlEngine& engine, const std::string& path) {
  std::vector<std::uint32_t> pixels = ShownFrame(engine);
  if (pixels.empty()) return false;
  const int width = engine.numbers[HGE_SCREENWIDTH], height = engine.numbers[HGE_SCREENHEIGHT];
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_ARGB8888);
  const bool saved = surface && IMG_SavePNG(surface, path.c_str()) == 0;
  SDL_FreeSurface(surface);
  return saved;
}
