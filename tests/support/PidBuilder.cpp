#include "support/PidBuilder.h"

#include <algorithm>

namespace pidbuild {

namespace {

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}

}  // namespace

std::vector<std::uint8_t> Build(const PidFile& pid) {
  std::vector<std::uint8_t> out;
  PutWord(out, 0xDEADBEEF);
  PutWord(out, pid.flags);
  PutWord(out, static_cast<std::uint32_t>(pid.width));
  PutWord(out, static_cast<std::uint32_t>(pid.height));
  PutWord(out, static_cast<std::uint32_t>(pid.offsetX));
  PutWord(out, static_cast<std::uint32_t>(pid.offsetY));
  PutWord(out, 0xCAFEF00D);
  PutWord(out, 0x12345678);
  out.insert(out.end(), pid.pixelData.begin(), pid.pixelData.end());
  if (pid.palette) out.insert(out.end(), pid.palette->bytes.begin(), pid.palette->bytes.end());
  return out;
}

std::vector<std::uint8_t> SkipCode(const std::vector<std::uint8_t>& indices, std::int32_t width) {
  std::vector<std::uint8_t> out;
  const std::size_t columns = static_cast<std::size_t>(width);
  std::size_t at = 0;
  while (at < indices.size()) {
    if (indices[at] == 0) {
      const std::size_t rowEnd = (at / columns + 1) * columns;
      std::size_t run = 0;
      while (at + run < rowEnd && run < 127 && indices[at + run] == 0) ++run;
      out.push_back(std::uint8_t(0x80 + run));
      at += run;
    } else {
      std::size_t run = 0;
      while (at + run < indices.size() && run < 128 && indices[at + run] != 0) ++run;
      out.push_back(std::uint8_t(run));
      out.insert(out.end(), indices.begin() + at, indices.begin() + at + run);
      at += run;
    }
  }
  return out;
}

std::vector<std::uint8_t> RepeatCode(const std::vector<std::uint8_t>& indices) {
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  while (at < indices.size()) {
    const std::uint8_t value = indices[at];
    std::size_t run = 1;
    while (at + run < indices.size() && run < 63 && indices[at + run] == value) ++run;
    if (run == 1 && value <= 0xC0) {
      out.push_back(value);
    } else {
      out.push_back(std::uint8_t(0xC0 + run));
      out.push_back(value);
    }
    at += run;
  }
  return out;
}

std::vector<std::uint8_t> Picture(std::int32_t width, std::int32_t height,
                                  const std::vector<std::uint8_t>& indices, bool skipCoded,
                                  std::int32_t offsetX, std::int32_t offsetY,
                                  std::uint32_t extraFlags) {
  PidFile pid;
  pid.width = width;
  pid.height = height;
  pid.offsetX = offsetX;
  pid.offsetY = offsetY;
  pid.flags = extraFlags | (skipCoded ? kSkipCoded : 0);
  pid.pixelData = skipCoded ? SkipCode(indices, width) : RepeatCode(indices);
  return Build(pid);
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
