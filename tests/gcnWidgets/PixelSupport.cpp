#include "PixelSupport.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/Resources.h"
#include "support/TempDir.h"

namespace widgettest {

OffscreenScreen::OffscreenScreen(int width, int height) : width(width), height(height) {
  // The engine refuses a driver without a screen unless one was asked for.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  auto sdl = std::make_unique<SdlEngine>();
  engine = sdl.get();
  hgeInstall(std::move(sdl));
  engine->System_SetState(HGE_SCREENWIDTH, width);
  engine->System_SetState(HGE_SCREENHEIGHT, height);
  engine->System_SetState(HGE_WINDOWED, true);
  engine->System_SetState(HGE_TEXTUREFILTER, false);
  engine->System_SetState(HGE_TITLE, "widget test");
  ready = engine->System_Initiate();
  if (!ready) error = engine->System_GetErrorMessage();
}

OffscreenScreen::~OffscreenScreen() {
  engine->System_Shutdown();
  hgeInstall(nullptr);
}

HTEXTURE OffscreenScreen::PaintedAtlas(const std::vector<AtlasPaint>& paints) {
  std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
      SDL_CreateRGBSurfaceWithFormat(0, 512, 512, 32, SDL_PIXELFORMAT_ARGB8888), SDL_FreeSurface);
  if (!surface) return 0;
  SDL_FillRect(surface.get(), nullptr, 0);
  for (const AtlasPaint& paint : paints) {
    const SDL_Rect rect{paint.x, paint.y, paint.w, paint.h};
    SDL_FillRect(surface.get(), &rect, paint.argb);
  }
  TempDir scratch;
  const std::string path = (scratch / "atlas.png").string();
  if (IMG_SavePNG(surface.get(), path.c_str()) != 0) return 0;
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  return Load(bytes.data(), bytes.size());
}

HTEXTURE OffscreenScreen::Load(const unsigned char* data, std::size_t size) {
  return engine->Texture_Load(reinterpret_cast<const char*>(data), static_cast<std::uint32_t>(size),
                              false);
}

HTEXTURE OffscreenScreen::LoadResource(const char* name, const char* type) {
  const auto bytes = platform::FindResource(name, type);
  return bytes ? Load(bytes->data, bytes->size) : 0;
}

void OffscreenScreen::Capture(const std::function<void()>& draw) {
  engine->Gfx_BeginScene(0);
  draw();
  engine->CaptureNextFrame();
  engine->Gfx_EndScene();
  frame = engine->CapturedFrame();
}

std::uint32_t OffscreenScreen::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height || frame.empty()) return 0;
  return frame[static_cast<std::size_t>(y) * width + x];
}

std::vector<std::uint32_t> OffscreenScreen::Area(int x, int y, int w, int h) const {
  std::vector<std::uint32_t> pixels;
  for (int row = y; row < y + h; ++row)
    for (int column = x; column < x + w; ++column) pixels.push_back(At(column, row));
  return pixels;
}

std::string Hex(std::uint32_t argb) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", argb);
  return text;
}

}  // namespace widgettest
