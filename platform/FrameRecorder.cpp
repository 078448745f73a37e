#include "platform/FrameRecorder.h"

#include <SDL.h>

#include <algorithm>

namespace {

void DrawLine(SDL_Renderer* renderer, const hgeQuad& ends) {
  const std::uint32_t color = ends.v[0].col;
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
  SDL_SetRenderDrawColor(renderer, color >> 16 & 0xFF, color >> 8 & 0xFF, color & 0xFF,
                         color >> 24);
  SDL_RenderDrawLineF(renderer, ends.v[0].x, ends.v[0].y, ends.v[1].x, ends.v[1].y);
}

void DrawQuad(SDL_Renderer* renderer, const hgeQuad& quad, SDL_Texture* texture) {
  SDL_Vertex vertices[4];
  for (int i = 0; i < 4; ++i) {
    const hgeVertex& v = quad.v[i];
    vertices[i].position = {v.x, v.y};
    vertices[i].color = {static_cast<Uint8>(v.col >> 16), static_cast<Uint8>(v.col >> 8),
                         static_cast<Uint8>(v.col), static_cast<Uint8>(v.col >> 24)};
    vertices[i].tex_coord = {v.tx, v.ty};
  }
  static const int kTriangles[6] = {0, 1, 2, 0, 2, 3};
  // Blend mode bit 2 blends by alpha; without it the quad adds its light.
  const SDL_BlendMode mode =
      (quad.blend & BLEND_ALPHABLEND) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD;
  if (texture) SDL_SetTextureBlendMode(texture, mode);
  SDL_SetRenderDrawBlendMode(renderer, mode);
  SDL_RenderGeometry(renderer, texture, vertices, 4, kTriangles, 6);
}

// Sets the clipping area; false when it is empty and hides everything drawn
// until the next call.
bool SetClip(SDL_Renderer* renderer, const int* area, int width, int height) {
  const int x = area[0], y = area[1], w = area[2], h = area[3];
  if (x == 0 && y == 0 && w == 0 && h == 0) {
    SDL_RenderSetClipRect(renderer, nullptr);
    return true;
  }
  // Clamp to the window.
  const int left = std::clamp(x, 0, width), top = std::clamp(y, 0, height);
  const int right = std::clamp(x + std::max(w, 0), 0, width);
  const int bottom = std::clamp(y + std::max(h, 0), 0, height);
  const SDL_Rect clipArea{left, top, right - left, bottom - top};
  if (clipArea.w == 0 || clipArea.h == 0) return false;
  SDL_RenderSetClipRect(renderer, &clipArea);
  return true;
}

}  // namespace

void FrameRecorder::AddQuad(const hgeQuad& quad) {
  DrawCall call{};
  call.kind = DrawCall::kQuad;
  call.quad = quad;
  frameCalls.push_back(call);
}

void FrameRecorder::AddLine(float x1, float y1, float x2, float y2, std::uint32_t color) {
  DrawCall call{};
  call.kind = DrawCall::kLine;
  call.quad.v[0].x = x1;
  call.quad.v[0].y = y1;
  call.quad.v[1].x = x2;
  call.quad.v[1].y = y2;
  call.quad.v[0].col = color;
  frameCalls.push_back(call);
}

void FrameRecorder::AddClip(int x, int y, int w, int h) {
  DrawCall call{};
  call.kind = DrawCall::kClip;
  call.clip[0] = x;
  call.clip[1] = y;
  call.clip[2] = w;
  call.clip[3] = h;
  frameCalls.push_back(call);
}

bool FrameRecorder::SameCall(const DrawCall& a, const DrawCall& b) {
  if (a.kind != b.kind) return false;
  if (a.kind == DrawCall::kClip) return std::equal(a.clip, a.clip + 4, b.clip);
  for (int i = 0; i < 4; ++i) {
    const hgeVertex &u = a.quad.v[i], &w = b.quad.v[i];
    if (u.x != w.x || u.y != w.y || u.z != w.z || u.col != w.col || u.tx != w.tx || u.ty != w.ty)
      return false;
  }
  return a.quad.tex == b.quad.tex && a.quad.blend == b.quad.blend;
}

bool FrameRecorder::NeedsShowing(std::chrono::steady_clock::time_point now) const {
  constexpr auto kRefresh = std::chrono::seconds(1);
  const bool unchanged = !stale && std::equal(frameCalls.begin(), frameCalls.end(),
                                              shownCalls.begin(), shownCalls.end(), SameCall);
  return !unchanged || now - lastShown >= kRefresh;
}

void FrameRecorder::ShowFrame(SDL_Renderer* renderer, int width, int height,
                              const TextureLookup& textures,
                              std::chrono::steady_clock::time_point now) {
  Replay(frameCalls, renderer, width, height, textures);
  SDL_RenderPresent(renderer);
  std::swap(shownCalls, frameCalls);
  stale = false;
  lastShown = now;
}

void FrameRecorder::ReplayShown(SDL_Renderer* renderer, int width, int height,
                                const TextureLookup& textures) const {
  Replay(shownCalls, renderer, width, height, textures);
}

void FrameRecorder::Replay(const std::vector<DrawCall>& calls, SDL_Renderer* renderer, int width,
                           int height, const TextureLookup& textures) {
  // What a presented frame leaves behind is undefined; start from black.
  SDL_RenderSetClipRect(renderer, nullptr);
  bool visible = true;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  for (const DrawCall& call : calls) {
    if (call.kind == DrawCall::kClip) {
      visible = SetClip(renderer, call.clip, width, height);
    } else if (!visible) {
      continue;
    } else if (call.kind == DrawCall::kLine) {
      DrawLine(renderer, call.quad);
    } else {
      SDL_Texture* texture = call.quad.tex ? textures(call.quad.tex) : nullptr;
      if (!call.quad.tex || texture) DrawQuad(renderer, call.quad, texture);
    }
  }
}
