#include <optional>

#include "convert/ImageConversion.h"
#include "convert/PidImage.h"
#include "convert/Placement.h"

CommonCanvas computeCommonCanvas(const REZ::Dir& folder) {
  std::optional<AnchorBox> bounds;
  for (const auto& child : folder.children) {
    if (!child->IsFile()) continue;
    const auto extension = REZ::FileExtension(child->name);
    if (!extension || *extension != "PID") continue;
    // A shorter entry has no header of its own; the bytes after it belong to
    // other entries.
    if (child->size < PidHeader::kBytes) continue;
    const auto bytes = static_cast<const REZ::File&>(*child).GetData(PidHeader::kBytes);
    const auto header = readPidHeader(bytes.data(), bytes.size());
    // Pictures the conversion refuses anyway must not stretch the canvas of
    // the others.
    if (!header || !WithinPictureCap(header->width, header->height)) continue;
    const AnchorBox box = anchorBoxOf(*header);
    if (bounds)
      addToBounds(*bounds, box);
    else
      bounds = box;
  }
  return bounds ? canvasForBounds(*bounds) : CommonCanvas{};
}
