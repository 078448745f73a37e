// Where a picture lands on the canvas it is written on.
//
// The games draw a sprite with its centre at the anchor plus its offset, so a
// picture covers, around the anchor, left = offsetX - width / 2 to
// left + width, and top = offsetY - height / 2 to top + height (halvings
// truncated toward zero). A common canvas is the smallest rectangle holding
// every such box of a folder; each picture sits at its box's place in it, so
// the anchors of all frames fall on the same canvas pixel.
#pragma once

#include <cstdint>

#include "convert/PidImage.h"

// A picture's box around its anchor. 64 bits: no header value can overflow it.
struct AnchorBox {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
};
AnchorBox anchorBoxOf(const PidHeader& picture);

// The canvas the pictures of one folder share. Without one (width or height
// below 1) every picture is written at its own size.
struct CommonCanvas {
  std::int32_t width = 0;
  std::int32_t height = 0;
  // The canvas's top-left corner, counted from the anchor.
  std::int64_t left = 0;
  std::int64_t top = 0;
  // Set when the pictures would need a canvas beyond WithinPictureCap; then
  // width and height are 0 and these hold the size it would have had.
  bool tooLarge = false;
  std::int64_t wantedWidth = 0;
  std::int64_t wantedHeight = 0;
};

// Widens box to hold next.
void addToBounds(AnchorBox& bounds, const AnchorBox& next);
// The canvas for pictures whose boxes span bounds.
CommonCanvas canvasForBounds(const AnchorBox& bounds);

struct CanvasPlacement {
  std::int32_t canvasWidth = 0;
  std::int32_t canvasHeight = 0;
  // Top-left corner of the picture, from the canvas's top-left; may lie
  // outside the canvas for a picture that did not count towards it.
  std::int64_t x = 0;
  std::int64_t y = 0;
};

// Without a canvas: the picture's own size at (0, 0).
CanvasPlacement placeOnCanvas(const PidHeader& picture, const CommonCanvas& canvas);
