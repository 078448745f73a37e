#include "convert/Placement.h"

namespace {

std::int64_t CentredPosition(std::int32_t canvas, std::int32_t size, std::int32_t offset) {
  if (size >= canvas) return 0;
  return std::int64_t{canvas} / 2 - (std::int64_t{size} - offset) / 2;
}

}  // namespace

CanvasPlacement placeOnCanvas(const PidHeader& picture, std::int32_t canvasWidth,
                              std::int32_t canvasHeight) {
  CanvasPlacement placement;
  if (canvasWidth < 1 || canvasHeight < 1) {
    canvasWidth = picture.width;
    canvasHeight = picture.height;
  }
  placement.canvasWidth = canvasWidth;
  placement.canvasHeight = canvasHeight;
  placement.x = CentredPosition(canvasWidth, picture.width, picture.offsetX);
  placement.y = CentredPosition(canvasHeight, picture.height, picture.offsetY);
  return placement;
}
