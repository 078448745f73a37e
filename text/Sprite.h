// A rectangle cut from a texture and drawn as one engine quad: every glyph of
// the font and every piece of the skin is one of these.
#pragma once

#include <cstdint>

#include "platform/hge.h"

class Sprite {
 public:
  // The rectangle is in texture pixels. A sprite on texture 0 behaves as if
  // the texture were 1x1, so its texture coordinates equal the pixel numbers.
  Sprite(HTEXTURE texture, float x, float y, float width, float height);
  ~Sprite() = default;
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;

  // Places the hot spot at (x, y), unscaled.
  void Render(float x, float y);
  // Scales and turns around the hot spot; a vscale of 0 means "same as hscale".
  void RenderEx(float x, float y, float rotation, float hscale = 1.0f, float vscale = 0.0f);
  // Stretches the rectangle over exactly (x1, y1)-(x2, y2); the hot spot plays no part.
  void RenderStretch(float x1, float y1, float x2, float y2);

  // vertex -1 sets all four corners, 0-3 one corner (top-left, then clockwise).
  void SetColor(std::uint32_t color, int vertex = -1);
  void SetZ(float z, int vertex = -1);
  void SetBlendMode(int blend) { quad.blend = blend; }
  void SetTexture(HTEXTURE texture);
  void SetTextureRect(float x, float y, float width, float height);
  void SetHotSpot(float x, float y);
  // Mirrors the picture; with hotSpotFollows the hot spot is mirrored along.
  void SetFlip(bool horizontal, bool vertical, bool hotSpotFollows = false);

  std::uint32_t GetColor(int vertex = 0) const;
  float GetZ(int vertex = 0) const;
  int GetBlendMode() const { return quad.blend; }
  HTEXTURE GetTexture() const { return quad.tex; }
  void GetTextureRect(float* x, float* y, float* width, float* height) const;
  void GetHotSpot(float* x, float* y) const;
  void GetFlip(bool* horizontal, bool* vertical) const;
  float GetWidth() const { return width; }
  float GetHeight() const { return height; }
  // The quad as it was last submitted (or prepared).
  const hgeQuad& GetQuad() const { return quad; }

 private:
  void UpdateTextureCoordinates();
  void SetCorners(float x1, float y1, float x2, float y2);

  HGE* engine;
  hgeQuad quad;
  float texX, texY, width, height;
  float textureWidth = 1, textureHeight = 1;
  float hotX = 0, hotY = 0;
  bool flipX = false, flipY = false, hotSpotFlips = false;
};
