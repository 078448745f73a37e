#include "gcnWidgets/wDraw.h"

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
