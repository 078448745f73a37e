// guichan draws through the engine: clip areas become the engine's clipping,
// rectangles and points are untextured quads, images are textured quads.
#pragma once

#include <cstdint>
#include <guichan/color.hpp>
#include <guichan/graphics.hpp>

#include "platform/hge.h"

namespace gcn {

class HGEGraphics : public Graphics {
 public:
  HGEGraphics();

  // Brackets a GUI's drawing: the whole window is the first clip area.
  void _beginDraw() override;
  void _endDraw() override;
  bool pushClipArea(Rectangle area) override;
  void popClipArea() override;

  // Draws an HGEImage; other images are not the engine's and are skipped.
  void drawImage(const Image* image, int srcX, int srcY, int dstX, int dstY, int width,
                 int height) override;
  using Graphics::drawImage;
  void drawPoint(int x, int y) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  void drawRectangle(const Rectangle& rectangle) override;
  void fillRectangle(const Rectangle& rectangle) override;
  void setColor(const Color& color) override { this->color = color; }
  const Color& getColor() const override { return color; }

  // The colour as the engine takes it, 0xAARRGGBB.
  std::uint32_t argb() const;

 private:
  void ApplyClipArea();
  // A solid quad in window coordinates.
  void FillWindowArea(int x, int y, int width, int height);

  HGE* hge;
  Color color;
  bool clipAreaEmpty = false;  // nothing can be drawn until the area is popped
};

}  // namespace gcn
