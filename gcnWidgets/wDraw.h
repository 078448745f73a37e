// Drawing helpers shared by the kit's widgets.
#pragma once

#include <guichan/cliprectangle.hpp>

#include "platform/hge.h"

namespace SHR {

struct cThreePiece;

// Stretches the three pieces over the box (x, y)-(x + w, y + h); the caps are
// capWidth wide, the middle takes the rest.
void DrawThreePiece(const cThreePiece& pieces, int x, int y, int w, int h, int capWidth);

// The skin's focus mark: a two-tone blue glow just around the box (x, y, w, h)
// in window coordinates. Drawn unclipped; the caller restores its clipping.
void DrawFocusGlow(HGE* hge, int x, int y, int w, int h);

// Hands the toolkit's clip area back to the engine after a widget drew
// unclipped.
void RestoreClipping(HGE* hge, const gcn::ClipRectangle& clip);

}  // namespace SHR
