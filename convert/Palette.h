// 256 entries of red, green, blue; entry i at bytes 3i, 3i+1, 3i+2.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct Palette {
  static constexpr std::size_t kBytes = 768;
  std::array<std::uint8_t, kBytes> bytes{};

  std::uint8_t Red(int index) const { return bytes[3 * index]; }
  std::uint8_t Green(int index) const { return bytes[3 * index + 1]; }
  std::uint8_t Blue(int index) const { return bytes[3 * index + 2]; }
};

// Copies the first 768 bytes of data into palette; with fewer bytes only the
// first size bytes of palette change.
void loadPaletteFromMemory(Palette& palette, const std::uint8_t* data, std::size_t size);
