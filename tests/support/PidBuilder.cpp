#include "support/PidBuilder.h"

#include <algorithm>

namespace pidbuild {

std::vector<std::uint8_t> Build(const PidFile& pid) {
  std::vector<std::uint8_t> out;
  for (const std::uint32_t word :
       {pid.otherWords[0], pid.flags, std::uint32_t(pid.width), std::uint32_t(pid.height),
        std::uint32_t(pid.offsetX), std::uint32_t(pid.offsetY), pid.otherWords[1],
        pid.otherWords[2]})
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(word >> shift));
  out.insert(out.end(), pid.pixelData.begin(), pid.pixelData.end());
  if (pid.palette) out.insert(out.end(), pid.palette->bytes.begin(), pid.palette->bytes.end());
  return out;
}

std::vector<std::uint8_t> SkipCode(const std::vector<std::uint8_t>& indices, std::int32_t width) {
  std::vector<std::uint8_t> out;
  const std::size_t columns = static_cast<std::size_t>(width);
  for (std::size_t at = 0; at < indices.size();) {
    const std::size_t rowEnd = std::min(indices.size(), (at / columns + 1) * columns);
    const bool skip = indices[at] == 0;
    std::size_t run = 0;
    while (at + run < rowEnd && run < (skip ? 127u : 128u) && (indices[at + run] == 0) == skip)
      ++run;
    out.push_back(std::uint8_t(skip ? 0x80 + run : run));
    if (!skip) out.insert(out.end(), indices.begin() + at, indices.begin() + at + run);
    at += run;
  }
  return out;
}

std::vector<std::uint8_t> RepeatCode(const std::vector<std::uint8_t>& indices) {
  std::vector<std::uint8_t> out;
  for (std::size_t at = 0; at < indices.size();) {
    const std::uint8_t value = indices[at];
    std::size_t run = 1;
    while (at + run < indices.size() && run < 63 && indices[at + run] == value) ++run;
    if (run > 1 || value > 0xC0) out.push_back(std::uint8_t(0xC0 + run));
    out.push_back(value);
    at += run;
  }
  return out;
}

std::vector<std::uint8_t> Picture(std::int32_t width, std::int32_t height,
                                  const std::vector<std::uint8_t>& indices, bool skipCoded,
                                  std::int32_t offsetX, std::int32_t offsetY) {
  return Build({width, height, offsetX, offsetY, skipCoded ? kSkipCoded : 0u,
                skipCoded ? SkipCode(indices, width) : RepeatCode(indices)});
}

Palette DistinctPalette() {
  Palette palette;
  for (int i = 0; i < 256; ++i) {
    palette.bytes[3 * i] = std::uint8_t(i);
    palette.bytes[3 * i + 1] = std::uint8_t(255 - i);
    palette.bytes[3 * i + 2] = std::uint8_t(i / 2);
  }
  return palette;
}

}  // namespace pidbuild
