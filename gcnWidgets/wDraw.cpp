#include "gcnWidgets/wDraw.h"

#include <cstdint>

#include "gcnWidgets/wSkin.h"

namespace SHR {

void DrawThreePiece(const cThreePiece& pieces, int x, int y, int w, int h, int capWidth) {
  const auto fx = static_cast<float>(x);
  const auto fy = static_cast<float>(y);
  const auto bottom = static_cast<float>(y + h);
  const auto innerLeft = static_cast<float>(x + capWidth);
  const auto innerRight = static_cast<float>(x + w - capWidth);
  pieces.left->RenderStretch(fx, fy, innerLeft, bottom);
  pieces.middle->RenderStretch(innerLeft, fy, innerRight, bottom);
  pieces.right->RenderStretch(innerRight, fy, static_cast<float>(x + w), bottom);
}

void DrawFocusGlow(HGE* hge, int x, int y, int w, int h) {
  constexpr std::uint32_t kGlowLight = 0xFF6CB2FD;
  constexpr std::uint32_t kGlowDark = 0xFF55789D;
  hge->Gfx_SetClipping();
  const auto line = [hge](int x1, int y1, int x2, int y2, std::uint32_t colour) {
    hge->Gfx_RenderLine(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                        static_cast<float>(y2), colour, 0.5f);
  };
  line(x - 1, y + 1, x + w, y + 1, kGlowLight);
  line(x, y + h, x + w, y + h, kGlowLight);
  line(x + 1, y + 1, x + 1, y + h, kGlowLight);
  line(x + w, y + 1, x + w, y + h, kGlowLight);
  line(x, y + 1, x, y + h, kGlowDark);
  line(x + w + 1, y, x + w + 1, y + h + 1, kGlowDark);
  line(x, y, x + w, y, kGlowDark);
  line(x - 1, y + h + 1, x + w, y + h + 1, kGlowDark);
}

void RestoreClipping(HGE* hge, const gcn::ClipRectangle& clip) {
  // All zeros would open the whole window to a widget that is clipped away
  // entirely; an empty area off the window keeps it hidden.
  if (clip.width <= 0 || clip.height <= 0) {
    hge->Gfx_SetClipping(-1, -1, 0, 0);
    return;
  }
  hge->Gfx_SetClipping(clip.x, clip.y, clip.width, clip.height);
}

}  // namespace SHR
