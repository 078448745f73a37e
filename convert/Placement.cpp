#include "convert/Placement.h"

#include <algorithm>

AnchorBox anchorBoxOf(const PidHeader& picture) {
  AnchorBox box;
  // Integer division truncates toward zero, as the games' halving does.
  box.left = std::int64_t{picture.offsetX} - std::int64_t{picture.width} / 2;
  box.top = std::int64_t{picture.offsetY} - std::int64_t{picture.height} / 2;
  box.right = box.left + picture.width;
  box.bottom = box.top + picture.height;
  return box;
}

void addToBounds(AnchorBox& bounds, const AnchorBox& next) {
  bounds.left = std::min(bounds.left, next.left);
  bounds.top = std::min(bounds.top, next.top);
  bounds.right = std::max(bounds.right, next.right);
  bounds.bottom = std::max(bounds.bottom, next.bottom);
}

CommonCanvas canvasForBounds(const AnchorBox& bounds) {
  CommonCanvas canvas;
  const std::int64_t width = bounds.right - bounds.left;
  const std::int64_t height = bounds.bottom - bounds.top;
  if (width < 1 || height < 1) return canvas;
  if (!WithinPictureCap(width, height)) {
    canvas.tooLarge = true;
    canvas.wantedWidth = width;
    canvas.wantedHeight = height;
    return canvas;
  }
  canvas.width = static_cast<std::int32_t>(width);
  canvas.height = static_cast<std::int32_t>(height);
  canvas.left = bounds.left;
  canvas.top = bounds.top;
  return canvas;
}

CanvasPlacement placeOnCanvas(const PidHeader& picture, const CommonCanvas& canvas) {
  CanvasPlacement placement;
  if (canvas.width < 1 || canvas.height < 1) {
    placement.canvasWidth = picture.width;
    placement.canvasHeight = picture.height;
    return placement;
  }
  const AnchorBox box = anchorBoxOf(picture);
  placement.canvasWidth = canvas.width;
  placement.canvasHeight = canvas.height;
  placement.x = box.left - canvas.left;
  placement.y = box.top - canvas.top;
  return placement;
}
