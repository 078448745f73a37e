// Keeps a frame's drawing calls until the frame ends, so that a frame equal
// to the one on screen need not be drawn and shown again: an idle window then
// costs almost nothing. Replays a frame's calls on an SDL renderer.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "platform/hge.h"

struct SDL_Renderer;
struct SDL_Texture;

class FrameRecorder {
 public:
  // The uploaded texture of a handle, nullptr when there is none.
  using TextureLookup = std::function<SDL_Texture*(HTEXTURE)>;

  void Begin() { frameCalls.clear(); }
  void AddQuad(const hgeQuad& quad);
  void AddLine(float x1, float y1, float x2, float y2, std::uint32_t color);
  void AddClip(int x, int y, int w, int h);
  // The window's content may differ from the frame last shown.
  void MarkStale() { stale = true; }

  // Whether the frame just recorded must be drawn and shown: it differs from
  // the one on screen, or the screen went stale, or a second has passed (the
  // window system may lose content without telling).
  bool NeedsShowing(std::chrono::steady_clock::time_point now) const;
  // Draws the frame just recorded and remembers it as the one on screen.
  void ShowFrame(SDL_Renderer* renderer, int width, int height, const TextureLookup& textures,
                 std::chrono::steady_clock::time_point now);
  // Draws the frame on screen again, without showing it.
  void ReplayShown(SDL_Renderer* renderer, int width, int height,
                   const TextureLookup& textures) const;

 private:
  // One drawing call. For a line v[0..1] hold the ends and v[0].col the colour.
  struct DrawCall {
    enum Kind : int { kQuad, kLine, kClip } kind;
    hgeQuad quad;
    int clip[4];
  };
  static bool SameCall(const DrawCall& a, const DrawCall& b);
  static void Replay(const std::vector<DrawCall>& calls, SDL_Renderer* renderer, int width,
                     int height, const TextureLookup& textures);

  std::vector<DrawCall> frameCalls, shownCalls;
  bool stale = true;
  std::chrono::steady_clock::time_point lastShown;
};
