// Builds PID picture files byte for byte, for tests, fuzz seeds and benchmarks.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "convert/Palette.h"

namespace pidbuild {

constexpr std::uint32_t kTransparent = 0x01;
constexpr std::uint32_t kSkipCoded = 0x20;
constexpr std::uint32_t kEmbeddedPalette = 0x80;

struct PidFile {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::uint32_t flags = 0;
  std::vector<std::uint8_t> pixelData;  // already coded
  // Appended as the last 768 bytes; the EmbeddedPalette bit is not set by this.
  std::optional<Palette> palette;
};

// The 32-byte header (the uninterpreted words hold junk on purpose), the pixel
// data, then the palette if any.
std::vector<std::uint8_t> Build(const PidFile& pid);

// Codings of a raster of indices (row-major, top row first). Skip coding uses
// skips for index 0, never across a row end, and literal runs for the rest;
// repeat coding uses runs wherever they are needed or shorter.
std::vector<std::uint8_t> SkipCode(const std::vector<std::uint8_t>& indices, std::int32_t width);
std::vector<std::uint8_t> RepeatCode(const std::vector<std::uint8_t>& indices);

// A picture file of the given raster in the chosen coding.
std::vector<std::uint8_t> Picture(std::int32_t width, std::int32_t height,
                                  const std::vector<std::uint8_t>& indices, bool skipCoded,
                                  std::int32_t offsetX = 0, std::int32_t offsetY = 0,
                                  std::uint32_t extraFlags = 0);

// Entry i = (i, 255 - i, i / 2): every index has a colour of its own.
Palette DistinctPalette();

}  // namespace pidbuild
