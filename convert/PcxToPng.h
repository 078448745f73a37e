// The games' PCX screens as PNG files, through the image library.
//
// The PCX header's size is checked before the image library sees the bytes,
// so that a few hostile bytes cannot make it allocate gigabytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/ConvertedFiles.h"

constexpr std::int64_t kMaxPcxSide = 16384;
constexpr std::int64_t kMaxPcxPixels = std::int64_t{1} << 24;

// entryName "NAME.PCX" gives "NAME.png".
ConvertedFiles ConvertPcxToPng(const std::string& entryName, const unsigned char* data,
                               std::size_t size);
