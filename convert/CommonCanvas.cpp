#include <algorithm>
#include <limits>

#include "convert/ImageConversion.h"
#include "convert/PidImage.h"

namespace {

// Pictures the conversion refuses anyway must not stretch the canvas of the
// others: one hostile header would otherwise make the whole folder unusable.
bool ConvertiblePicture(const PidHeader& header) {
  return header.width >= 1 && header.height >= 1 && header.width <= kMaxPictureSide &&
         header.height <= kMaxPictureSide;
}

std::int32_t Saturated(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

CanvasSize computeCommonCanvas(const REZ::Dir& folder) {
  // 64 bits: |INT32_MIN| and the sums below do not fit 32.
  std::int64_t mostNegativeX = 0, mostPositiveX = 0;
  std::int64_t mostNegativeY = 0, mostPositiveY = 0;
  std::int64_t largestWidth = 0, largestHeight = 0;

  for (const auto& child : folder.children) {
    if (!child->IsFile()) continue;
    const auto extension = REZ::FileExtension(child->name);
    if (!extension || *extension != "PID") continue;
    // A shorter entry has no header of its own; the bytes after it belong to
    // other entries.
    if (child->size < PidHeader::kBytes) continue;
    const auto bytes = static_cast<const REZ::File&>(*child).GetData(PidHeader::kBytes);
    const auto header = readPidHeader(bytes.data(), bytes.size());
    if (!header || !ConvertiblePicture(*header)) continue;

    mostNegativeX = std::min<std::int64_t>(mostNegativeX, header->offsetX);
    mostPositiveX = std::max<std::int64_t>(mostPositiveX, header->offsetX);
    mostNegativeY = std::min<std::int64_t>(mostNegativeY, header->offsetY);
    mostPositiveY = std::max<std::int64_t>(mostPositiveY, header->offsetY);
    largestWidth = std::max<std::int64_t>(largestWidth, header->width);
    largestHeight = std::max<std::int64_t>(largestHeight, header->height);
  }

  CanvasSize canvas;
  canvas.width = Saturated(largestWidth - mostNegativeX + mostPositiveX);
  canvas.height = Saturated(largestHeight - mostNegativeY + mostPositiveY);
  return canvas;
}
