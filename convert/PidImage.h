// PID pictures: 8-bit palette indices, run-length coded, with a 32-byte header
// and an optional palette of their own at the end of the file.
//
// The bytes come straight from an archive and are not trusted: every read is
// bounds-checked, and a header alone can never make the decoder allocate more
// than a picture of kMaxPictureSide x kMaxPictureSide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/Palette.h"

enum class PidFlag : std::uint32_t {
  Transparent = 0x01,      // some pixels are transparent (see TransparencyMode)
  SkipCoded = 0x20,        // pixel data uses skip coding, else repeat coding
  EmbeddedPalette = 0x80,  // the last 768 bytes of the file are the picture's palette
  FillIndex = 0x100,       // skipped pixels take the header's fill index, else index 0
};

struct PidHeader {
  static constexpr std::size_t kBytes = 32;

  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::uint32_t flags = 0;
  std::uint32_t fill = 0;  // the dword at 24; its low byte is the fill index

  // The index skip coding leaves behind.
  std::uint8_t SkippedIndex() const {
    return Has(PidFlag::FillIndex) ? static_cast<std::uint8_t>(fill & 0xFF) : 0;
  }
  bool Has(PidFlag flag) const { return (flags & static_cast<std::uint32_t>(flag)) != 0; }
};

// The header in the first 32 bytes of data; none when there are fewer.
std::optional<PidHeader> readPidHeader(const std::uint8_t* data, std::size_t size);

// Real pictures are at most a screen or two wide; the bounds keep a hostile
// header from asking for gigabytes: a picture, and a common canvas, holds at
// most 16 Mi pixels (64 MiB as RGBA) with no side over 16384.
constexpr std::int32_t kMaxPictureSide = 16384;
constexpr std::int64_t kMaxPicturePixels = 16777216;

// "the limit of 16777216 pixels and sides up to 16384", for reports.
std::string PictureCapText();

// True when a picture or canvas of this size may be allocated.
constexpr bool WithinPictureCap(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

enum class TransparencyMode {
  IndexZero,  // pixels of index 0 are transparent
  ColourKey,  // pixels whose 0xFFRRGGBB colour equals transparencyKey are transparent
};

enum class PidLoadStatus {
  Loaded,
  TooShort,  // fewer than 32 bytes: no header
  NoPixels,  // width or height below 1
  TooLarge,  // beyond WithinPictureCap
};

class PidImage {
 public:
  // Set before loading.
  TransparencyMode transparencyMode = TransparencyMode::IndexZero;
  std::uint32_t transparencyKey = 0;

  // Decodes a whole PID file. The picture's own palette wins over palette; with
  // neither, indices are drawn as grey. palette is borrowed unless ownsPalette,
  // in which case the image keeps a copy. forceTransparency sets the
  // Transparent flag. Pixel data that ends early leaves the rest at index 0.
  // Unless Loaded, the raster is empty (the header is kept for reports).
  PidLoadStatus loadFromMemory(const std::uint8_t* data, std::size_t size, const Palette* palette,
                               bool ignoreEmbeddedPalette, bool ownsPalette,
                               bool forceTransparency);

  // Draws the picture with its top-left corner at (x, y), counted from the
  // canvas's top-left, into canvas: canvasWidth x canvasHeight pixels of
  // R, G, B, A whose rows are stored bottom row first. A canvas size below 1
  // means the picture's own; negative x or y count as 0; what falls outside the
  // canvas is clipped. Throws std::invalid_argument when canvas is too small
  // for its stated size.
  void renderRgba(std::vector<std::uint8_t>& canvas, std::int32_t canvasWidth,
                  std::int32_t canvasHeight, std::int32_t x, std::int32_t y) const;

  const PidHeader& header() const { return header_; }
  std::int32_t width() const { return header_.width; }
  std::int32_t height() const { return header_.height; }
  std::int32_t offsetX() const { return header_.offsetX; }
  std::int32_t offsetY() const { return header_.offsetY; }
  std::uint32_t flags() const { return header_.flags; }

  // width x height indices, top row first; empty unless loaded.
  const std::vector<std::uint8_t>& raster() const { return raster_; }
  // The palette the picture is drawn with, or nullptr for grey.
  const Palette* palette() const { return ownPalette_ ? &*ownPalette_ : borrowedPalette_; }

 private:
  PidHeader header_;
  std::vector<std::uint8_t> raster_;
  std::optional<Palette> ownPalette_;
  const Palette* borrowedPalette_ = nullptr;
};
