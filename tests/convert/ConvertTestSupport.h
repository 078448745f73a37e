// Pictures read back with libpng, for the conversion and extraction tests.
#pragma once

#include <png.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert/Palette.h"

using Rgba = std::array<std::uint8_t, 4>;
const Rgba kClear{0, 0, 0, 0};

inline Rgba Opaque(const Palette& palette, int index) {
  return {palette.Red(index), palette.Green(index), palette.Blue(index), 255};
}

struct RgbaPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // top row first, 4 bytes a pixel

  Rgba At(std::uint32_t x, std::uint32_t y) const {
    const std::size_t at = (std::size_t(y) * width + x) * 4;
    return {pixels.at(at), pixels.at(at + 1), pixels.at(at + 2), pixels.at(at + 3)};
  }
};

// Decodes a PNG; unless converting is allowed, it must be 8-bit RGBA itself.
inline RgbaPicture DecodePng(const std::vector<unsigned char>& bytes, bool convert = false) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    throw std::runtime_error(std::string("not a PNG: ") + image.message);
  if (image.format != PNG_FORMAT_RGBA && !convert) {
    png_image_free(&image);
    throw std::runtime_error("not 8-bit RGBA");
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaPicture picture{image.width, image.height, std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr))
    throw std::runtime_error(std::string("cannot decode: ") + image.message);
  return picture;
}

inline RgbaPicture ReadPng(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return DecodePng({std::istreambuf_iterator<char>(in), {}});
}
