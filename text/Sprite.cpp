#include "text/Sprite.h"

#include <cmath>
#include <utility>

namespace {

// A texture the engine cannot size (texture 0, or a handle it does not know)
// counts as 1x1 so that texture coordinates never divide by zero.
float TextureExtent(int pixels) {
  return pixels > 0 ? static_cast<float>(pixels) : 1.0f;
}

}  // namespace

Sprite::Sprite(HTEXTURE texture, float x, float y, float w, float h)
    : engine(hgeCreate(HGE_VERSION)), texX(x), texY(y), width(w), height(h) {
  quad.tex = texture;
  quad.blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE;
  for (auto& vertex : quad.v) {
    vertex.z = 0.5f;
    vertex.col = 0xFFFFFFFF;
  }
  SetTexture(texture);
}

void Sprite::SetTexture(HTEXTURE texture) {
  quad.tex = texture;
  if (texture != 0 && engine) {
    textureWidth = TextureExtent(engine->Texture_GetWidth(texture));
    textureHeight = TextureExtent(engine->Texture_GetHeight(texture));
  } else {
    textureWidth = textureHeight = 1.0f;
  }
  UpdateTextureCoordinates();
}

void Sprite::SetTextureRect(float x, float y, float w, float h) {
  texX = x;
  texY = y;
  width = w;
  height = h;
  UpdateTextureCoordinates();
}

void Sprite::UpdateTextureCoordinates() {
  float u1 = texX / textureWidth, u2 = (texX + width) / textureWidth;
  float v1 = texY / textureHeight, v2 = (texY + height) / textureHeight;
  if (flipX) std::swap(u1, u2);
  if (flipY) std::swap(v1, v2);
  quad.v[0].tx = u1, quad.v[0].ty = v1;
  quad.v[1].tx = u2, quad.v[1].ty = v1;
  quad.v[2].tx = u2, quad.v[2].ty = v2;
  quad.v[3].tx = u1, quad.v[3].ty = v2;
}

void Sprite::SetCorners(float x1, float y1, float x2, float y2) {
  quad.v[0].x = x1, quad.v[0].y = y1;
  quad.v[1].x = x2, quad.v[1].y = y1;
  quad.v[2].x = x2, quad.v[2].y = y2;
  quad.v[3].x = x1, quad.v[3].y = y2;
}

void Sprite::Render(float x, float y) {
  const float x1 = x - hotX, y1 = y - hotY;
  SetCorners(x1, y1, x1 + width, y1 + height);
  if (engine) engine->Gfx_RenderQuad(&quad);
}

void Sprite::RenderEx(float x, float y, float rotation, float hscale, float vscale) {
  if (vscale == 0) vscale = hscale;
  const float x1 = -hotX * hscale, y1 = -hotY * vscale;
  const float x2 = (width - hotX) * hscale, y2 = (height - hotY) * vscale;
  if (rotation != 0) {
    const float cosine = std::cos(rotation), sine = std::sin(rotation);
    const float corners[4][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
    for (int i = 0; i < 4; ++i) {
      quad.v[i].x = corners[i][0] * cosine - corners[i][1] * sine + x;
      quad.v[i].y = corners[i][0] * sine + corners[i][1] * cosine + y;
    }
  } else {
    SetCorners(x1 + x, y1 + y, x2 + x, y2 + y);
  }
  if (engine) engine->Gfx_RenderQuad(&quad);
}

void Sprite::RenderStretch(float x1, float y1, float x2, float y2) {
  SetCorners(x1, y1, x2, y2);
  if (engine) engine->Gfx_RenderQuad(&quad);
}

void Sprite::SetColor(std::uint32_t color, int vertex) {
  if (vertex == -1) {
    for (auto& v : quad.v) v.col = color;
  } else if (vertex >= 0 && vertex < 4) {
    quad.v[vertex].col = color;
  }
}

void Sprite::SetZ(float z, int vertex) {
  if (vertex == -1) {
    for (auto& v : quad.v) v.z = z;
  } else if (vertex >= 0 && vertex < 4) {
    quad.v[vertex].z = z;
  }
}

void Sprite::SetHotSpot(float x, float y) {
  hotX = x;
  hotY = y;
}

void Sprite::SetFlip(bool horizontal, bool vertical, bool hotSpotFollows) {
  hotSpotFlips = hotSpotFollows;
  if (hotSpotFlips && horizontal != flipX) hotX = width - hotX;
  if (hotSpotFlips && vertical != flipY) hotY = height - hotY;
  flipX = horizontal;
  flipY = vertical;
  UpdateTextureCoordinates();
}

std::uint32_t Sprite::GetColor(int vertex) const {
  return vertex >= 0 && vertex < 4 ? quad.v[vertex].col : quad.v[0].col;
}

float Sprite::GetZ(int vertex) const {
  return vertex >= 0 && vertex < 4 ? quad.v[vertex].z : quad.v[0].z;
}

void Sprite::GetTextureRect(float* x, float* y, float* w, float* h) const {
  *x = texX;
  *y = texY;
  *w = width;
  *h = height;
}

void Sprite::GetHotSpot(float* x, float* y) const {
  *x = hotX;
  *y = hotY;
}

void Sprite::GetFlip(bool* horizontal, bool* vertical) const {
  *horizontal = flipX;
  *vertical = flipY;
}
