// Real pixels for widget tests: the program's SDL engine on SDL's offscreen
// driver, a window of 600x300, frames read back after drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/SdlEngine.h"

namespace widgettest {

// One solid colour per rectangle of a 512x512 atlas; the rest is transparent.
struct AtlasPaint {
  int x, y, w, h;
  std::uint32_t argb;
};

class OffscreenScreen {
 public:
  // Installs a fresh SDL engine as the process's engine and opens its window.
  explicit OffscreenScreen(int width = 600, int height = 300);
  ~OffscreenScreen();

  bool Ready() const { return ready; }
  SdlEngine* Engine() const { return engine; }
  const std::string& Error() const { return error; }

  // A texture made from PNG bytes encoded on the spot.
  HTEXTURE PaintedAtlas(const std::vector<AtlasPaint>& paints);
  // A texture from PNG bytes.
  HTEXTURE Load(const unsigned char* data, std::size_t size);

  // Runs draw between the engine's begin and end of a scene and keeps the frame.
  void Capture(const std::function<void()>& draw);
  // ARGB of a pixel of the last captured frame.
  std::uint32_t At(int x, int y) const;
  const std::vector<std::uint32_t>& Frame() const { return frame; }
  int Width() const { return width; }
  int Height() const { return height; }

 private:
  int width, height;
  SdlEngine* engine = nullptr;
  bool ready = false;
  std::string error;
  std::vector<std::uint32_t> frame;
};

// "AARRGGBB" for messages.
std::string Hex(std::uint32_t argb);

}  // namespace widgettest
