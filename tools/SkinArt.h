// Shared by the skin generator's parts: the layout table the widgets cut by,
// and the three drawing stages (the pieces, the pixel art, the preview sheet).
#pragma once

#include "ArtKit.h"
#include "gcnWidgets/wSkinLayout.h"

namespace skin {

using Rect = SHR::layout::Rect;
using ThreeRects = SHR::layout::ThreeRects;

inline art::Region regionOf(art::Image& image, const Rect& r) {
  return art::Region(image, r.x, r.y, r.w, r.h);
}

// The whole atlas: every piece drawn into its rectangle, the rest transparent.
// Throws when the layout is broken.
art::Image DrawAtlas();
// The two pointers and the ten file-type icons, drawn as pixel art.
void DrawPointerArt(art::Image& atlas);
void DrawTypeIcons(art::Image& atlas);
// A labelled sheet of every piece and a mock screen put together from them.
art::Image DrawPreview(const art::Image& atlas);

}  // namespace skin
