// Real pixels for widget tests: the program's SDL engine on SDL's offscreen
// driver, frames read back after drawing, and a Gui drawn through it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "WidgetTestSupport.h"
#include "platform/HGEGraphics.h"
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
  OffscreenScreen(int width, int height);
  ~OffscreenScreen();

  bool Ready() const { return ready; }
  SdlEngine* Engine() const { return engine; }
  const std::string& Error() const { return error; }

  // A texture made from PNG bytes encoded on the spot.
  HTEXTURE PaintedAtlas(const std::vector<AtlasPaint>& paints);
  HTEXTURE Load(const unsigned char* data, std::size_t size);
  HTEXTURE LoadResource(const char* name, const char* type);

  // Runs draw between the engine's begin and end of a scene and keeps the frame.
  void Capture(const std::function<void()>& draw);
  // ARGB of a pixel of the last captured frame.
  std::uint32_t At(int x, int y) const;
  // The pixels of a rectangle of the last frame, row by row.
  std::vector<std::uint32_t> Area(int x, int y, int w, int h) const;

 private:
  int width, height;
  SdlEngine* engine = nullptr;
  bool ready = false;
  std::string error;
  std::vector<std::uint32_t> frame;
};

// "AARRGGBB" for messages.
std::string Hex(std::uint32_t argb);

// A Gui over a full-window container, drawn by the SDL engine.
class PixelTest : public ::testing::Test {
 protected:
  PixelTest(int width, int height) : screen(width, height) {
    top.setDimension(gcn::Rectangle(0, 0, width, height));
    gui.setGraphics(&graphics);
    gui.setInput(&input);
    gui.setTop(&top);
  }
  void TearDown() override {
    gui.setTop(nullptr);
    gcn::Widget::setGlobalFont(nullptr);
  }
  void Draw() {
    screen.Capture([this] { gui.draw(); });
  }

  OffscreenScreen screen;
  std::unique_ptr<SHR::cSkin> skin;
  ScriptedInput input;
  SHR::Contener top;
  gcn::HGEGraphics graphics;
  gcn::Gui gui;
};

}  // namespace widgettest
