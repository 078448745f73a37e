// Builds PID picture files byte for byte, for tests, fuzz seeds, benchmarks
// and the sample archives.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "convert/Palette.h"

namespace pidbuild {

constexpr std::uint32_t kTransparent = 0x01;
constexpr std::uint32_t kSkipCoded = 0x20;
constexpr std::uint32_t kEmbeddedPalette = 0x80;
constexpr std::uint32_t kFillIndex = 0x100;

struct PidFile {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::uint32_t flags = 0;
  std::vector<std::uint8_t> pixelData{};  // already coded
  // Appended as the last 768 bytes; the EmbeddedPalette bit is not set by this.
  std::optional<Palette> palette{};
  // The header words at 0, 24 (the fill index's) and 28: junk unless chosen.
  std::array<std::uint32_t, 3> otherWords{0xDEADBEEF, 0xCAFEF00D, 0x12345678};
};

std::vector<std::uint8_t> Build(const PidFile& pid);

// Codings of a raster of indices (row-major, top row first). Skip coding:
// skips for index 0 and literal runs for the rest, neither across a row end.
// Repeat coding: runs wherever they are needed or shorter.
std::vector<std::uint8_t> SkipCode(const std::vector<std::uint8_t>& indices, std::int32_t width);
std::vector<std::uint8_t> RepeatCode(const std::vector<std::uint8_t>& indices);

std::vector<std::uint8_t> Picture(std::int32_t width, std::int32_t height,
                                  const std::vector<std::uint8_t>& indices, bool skipCoded,
                                  std::int32_t offsetX = 0, std::int32_t offsetY = 0);

// Entry i = (i, 255 - i, i / 2): every index has a colour of its own.
Palette DistinctPalette();

}  // namespace pidbuild
