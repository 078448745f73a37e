#include "platform/HGEGraphics.h"

#include <guichan/exception.hpp>

#include "platform/HGEImage.h"

namespace gcn {

HGEGraphics::HGEGraphics() : hge(hgeCreate(HGE_VERSION)) {}

std::uint32_t HGEGraphics::argb() const {
  return static_cast<std::uint32_t>(color.a & 0xFF) << 24 | (color.r & 0xFF) << 16 |
         (color.g & 0xFF) << 8 | (color.b & 0xFF);
}

void HGEGraphics::_beginDraw() {
  pushClipArea(Rectangle(0, 0, hge->System_GetState(HGE_SCREENWIDTH),
                         hge->System_GetState(HGE_SCREENHEIGHT)));
}

void HGEGraphics::_endDraw() {
  while (!mClipStack.empty()) Graphics::popClipArea();
  clipAreaEmpty = false;
  hge->Gfx_SetClipping();
}

bool HGEGraphics::pushClipArea(Rectangle area) {
  const bool result = Graphics::pushClipArea(area);
  ApplyClipArea();
  return result;
}

void HGEGraphics::popClipArea() {
  Graphics::popClipArea();
  if (mClipStack.empty()) {
    clipAreaEmpty = false;
    hge->Gfx_SetClipping();
  } else {
    ApplyClipArea();
  }
}

void HGEGraphics::ApplyClipArea() {
  const ClipRectangle& area = mClipStack.top();
  // The engine reads an all-zero area as the whole window, so an empty area is
  // kept here and drawing is skipped instead.
  clipAreaEmpty = area.width <= 0 || area.height <= 0;
  if (!clipAreaEmpty) hge->Gfx_SetClipping(area.x, area.y, area.width, area.height);
}

void HGEGraphics::FillWindowArea(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  hgeQuad quad;
  const float left = static_cast<float>(x), top = static_cast<float>(y);
  const float right = left + width, bottom = top + height;
  const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  for (int i = 0; i < 4; ++i) {
    quad.v[i].x = corners[i][0];
    quad.v[i].y = corners[i][1];
    quad.v[i].col = argb();
  }
  quad.tex = 0;
  quad.blend = BLEND_DEFAULT;
  hge->Gfx_RenderQuad(&quad);
}

void HGEGraphics::drawImage(const Image* image, int srcX, int srcY, int dstX, int dstY, int width,
                            int height) {
  if (mClipStack.empty())
    throw GCN_EXCEPTION(
        "Clip stack is empty, perhaps you called a draw function outside of "
        "_beginDraw() and _endDraw()?");
  const auto* engineImage = dynamic_cast<const HGEImage*>(image);
  if (clipAreaEmpty || !engineImage || !engineImage->getTexture() || width <= 0 || height <= 0)
    return;
  const ClipRectangle& area = mClipStack.top();
  const HTEXTURE texture = engineImage->getTexture();
  const float textureWidth = static_cast<float>(hge->Texture_GetWidth(texture, false));
  const float textureHeight = static_cast<float>(hge->Texture_GetHeight(texture, false));
  if (textureWidth <= 0 || textureHeight <= 0) return;

  hgeQuad quad;
  const float left = static_cast<float>(dstX + area.xOffset);
  const float top = static_cast<float>(dstY + area.yOffset);
  const float u0 = srcX / textureWidth, v0 = srcY / textureHeight;
  const float u1 = (srcX + width) / textureWidth, v1 = (srcY + height) / textureHeight;
  const float corners[4][4] = {{left, top, u0, v0},
                               {left + width, top, u1, v0},
                               {left + width, top + height, u1, v1},
                               {left, top + height, u0, v1}};
  for (int i = 0; i < 4; ++i) {
    quad.v[i].x = corners[i][0];
    quad.v[i].y = corners[i][1];
    quad.v[i].tx = corners[i][2];
    quad.v[i].ty = corners[i][3];
    quad.v[i].col = 0xFFFFFFFF;
  }
  quad.tex = texture;
  quad.blend = BLEND_DEFAULT;
  hge->Gfx_RenderQuad(&quad);
}

void HGEGraphics::drawPoint(int x, int y) {
  if (mClipStack.empty() || clipAreaEmpty) return;
  const ClipRectangle& area = mClipStack.top();
  FillWindowArea(x + area.xOffset, y + area.yOffset, 1, 1);
}

void HGEGraphics::drawLine(int x1, int y1, int x2, int y2) {
  if (mClipStack.empty() || clipAreaEmpty) return;
  const ClipRectangle& area = mClipStack.top();
  hge->Gfx_RenderLine(static_cast<float>(x1 + area.xOffset), static_cast<float>(y1 + area.yOffset),
                      static_cast<float>(x2 + area.xOffset), static_cast<float>(y2 + area.yOffset),
                      argb(), 0.5f);
}

void HGEGraphics::drawRectangle(const Rectangle& rectangle) {
  if (mClipStack.empty() || clipAreaEmpty) return;
  const ClipRectangle& area = mClipStack.top();
  const int x = rectangle.x + area.xOffset, y = rectangle.y + area.yOffset;
  const int w = rectangle.width, h = rectangle.height;
  if (w <= 0 || h <= 0) return;
  // One-pixel bands, so that each edge pixel is covered exactly once.
  FillWindowArea(x, y, w, 1);
  if (h > 1) FillWindowArea(x, y + h - 1, w, 1);
  FillWindowArea(x, y + 1, 1, h - 2);
  if (w > 1) FillWindowArea(x + w - 1, y + 1, 1, h - 2);
}

void HGEGraphics::fillRectangle(const Rectangle& rectangle) {
  if (mClipStack.empty() || clipAreaEmpty) return;
  const ClipRectangle& area = mClipStack.top();
  FillWindowArea(rectangle.x + area.xOffset, rectangle.y + area.yOffset, rectangle.width,
                 rectangle.height);
}

}  // namespace gcn
