// Where a picture lands on the canvas it is written on.
#pragma once

#include <cstdint>

#include "convert/PidImage.h"

struct CanvasPlacement {
  std::int32_t canvasWidth = 0;
  std::int32_t canvasHeight = 0;
  // Top-left corner of the picture, from the canvas's top-left. Wide enough
  // that hostile offsets cannot overflow; may lie outside the canvas.
  std::int64_t x = 0;
  std::int64_t y = 0;
};

// A canvas below 1 in either direction becomes the picture's own size. A
// picture smaller than the canvas in a direction is centred there, moved by
// half its offset: canvas / 2 - (size - offset) / 2, both halvings truncated
// toward zero so that frames of one animation line up to the pixel.
CanvasPlacement placeOnCanvas(const PidHeader& picture, std::int32_t canvasWidth,
                              std::int32_t canvasHeight);
