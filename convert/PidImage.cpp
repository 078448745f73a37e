#include "convert/PidImage.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace {

std::uint32_t LittleEndianU32(const std::uint8_t* bytes) {
  return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
         std::uint32_t(bytes[3]) << 24;
}

std::int32_t LittleEndianI32(const std::uint8_t* bytes) {
  const std::uint32_t value = LittleEndianU32(bytes);
  std::int32_t result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

// Skip coding: 0x00 is padding, 0x01..0x80 a literal run, 0x81..0xFF a skip of
// pixels drawn in the fill index. Literal runs carry on across a row end; a
// skip does not: the part of it beyond the row end is lost.
void DecodeSkipCoded(const std::uint8_t* data, std::size_t size, std::size_t width,
                     std::uint8_t fill, std::vector<std::uint8_t>& raster) {
  const std::size_t total = raster.size();
  std::size_t at = 0;
  std::size_t pos = 0;
  while (at < total && pos < size) {
    const std::uint8_t code = data[pos++];
    if (code == 0) continue;
    if (code <= 0x80) {
      const std::size_t count = std::min<std::size_t>({code, total - at, size - pos});
      std::memcpy(raster.data() + at, data + pos, count);
      at += count;
      pos += count;
    } else {
      const std::size_t leftInRow = width - at % width;
      const std::size_t count = std::min<std::size_t>(code - 0x80u, leftInRow);
      std::memset(raster.data() + at, fill, count);
      at += count;
    }
  }
}

// Repeat coding: 0x00..0xC0 is one pixel of that index, 0xC1..0xFF repeats the
// next byte (code - 0xC0) times, across row ends.
void DecodeRepeatCoded(const std::uint8_t* data, std::size_t size,
                       std::vector<std::uint8_t>& raster) {
  const std::size_t total = raster.size();
  std::size_t at = 0;
  std::size_t pos = 0;
  while (at < total && pos < size) {
    const std::uint8_t code = data[pos++];
    if (code <= 0xC0) {
      raster[at++] = code;
      continue;
    }
    if (pos == size) break;
    const std::uint8_t value = data[pos++];
    const std::size_t count = std::min<std::size_t>(code - 0xC0u, total - at);
    std::memset(raster.data() + at, value, count);
    at += count;
  }
}

}  // namespace

std::string PictureCapText() {
  return "the limit of " + std::to_string(kMaxPicturePixels) + " pixels and sides up to " +
         std::to_string(kMaxPictureSide);
}

std::optional<PidHeader> readPidHeader(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < PidHeader::kBytes) return std::nullopt;
  PidHeader header;
  header.flags = LittleEndianU32(data + 4);
  header.width = LittleEndianI32(data + 8);
  header.height = LittleEndianI32(data + 12);
  header.offsetX = LittleEndianI32(data + 16);
  header.offsetY = LittleEndianI32(data + 20);
  header.fill = LittleEndianU32(data + 24);
  return header;
}

PidLoadStatus PidImage::loadFromMemory(const std::uint8_t* data, std::size_t size,
                                       const Palette* palette, bool ignoreEmbeddedPalette,
                                       bool ownsPalette, bool forceTransparency) {
  header_ = PidHeader{};
  raster_.clear();
  ownPalette_.reset();
  borrowedPalette_ = nullptr;
  if (ownsPalette && palette != nullptr)
    ownPalette_ = *palette;
  else
    borrowedPalette_ = palette;

  const auto header = readPidHeader(data, size);
  if (!header) return PidLoadStatus::TooShort;
  header_ = *header;
  if (forceTransparency) header_.flags |= static_cast<std::uint32_t>(PidFlag::Transparent);

  std::size_t pixelDataEnd = size;
  if (header_.Has(PidFlag::EmbeddedPalette)) {
    // The palette takes the last 768 bytes, so the pixel data ends where it
    // begins. A file too short to hold all of it gives what it has to the
    // palette's last entries; the entries it does not reach stay black.
    pixelDataEnd = size >= Palette::kBytes ? size - Palette::kBytes : 0;
    if (!ignoreEmbeddedPalette) {
      Palette own{};
      const std::size_t available = std::min(size, Palette::kBytes);
      std::copy(data + size - available, data + size, own.bytes.end() - available);
      ownPalette_ = own;
      borrowedPalette_ = nullptr;
    }
  }

  if (header_.width < 1 || header_.height < 1) return PidLoadStatus::NoPixels;
  if (!WithinPictureCap(header_.width, header_.height)) return PidLoadStatus::TooLarge;

  const auto width = static_cast<std::size_t>(header_.width);
  raster_.assign(width * static_cast<std::size_t>(header_.height), 0);
  const std::uint8_t* pixels = data + PidHeader::kBytes;
  const std::size_t pixelBytes =
      pixelDataEnd > PidHeader::kBytes ? pixelDataEnd - PidHeader::kBytes : 0;
  if (header_.Has(PidFlag::SkipCoded))
    DecodeSkipCoded(pixels, pixelBytes, width, header_.SkippedIndex(), raster_);
  else
    DecodeRepeatCoded(pixels, pixelBytes, raster_);
  return PidLoadStatus::Loaded;
}

void PidImage::renderRgba(std::vector<std::uint8_t>& canvas, std::int32_t canvasWidth,
                          std::int32_t canvasHeight, std::int32_t x, std::int32_t y) const {
  if (raster_.empty()) return;
  if (canvasWidth < 1) canvasWidth = header_.width;
  if (canvasHeight < 1) canvasHeight = header_.height;
  const auto canvasColumns = static_cast<std::size_t>(canvasWidth);
  if (canvas.size() / 4 / canvasColumns < static_cast<std::size_t>(canvasHeight))
    throw std::invalid_argument("canvas buffer is smaller than its stated size");
  x = std::max(x, 0);
  y = std::max(y, 0);
  if (x >= canvasWidth || y >= canvasHeight) return;
  const std::int32_t visibleWidth = std::min(header_.width, canvasWidth - x);
  const std::int32_t visibleHeight = std::min(header_.height, canvasHeight - y);

  // One lookup per index instead of per pixel: colour and transparency depend
  // on the index alone.
  std::array<std::array<std::uint8_t, 4>, 256> colours;
  const Palette* drawnWith = palette();
  const bool transparent = header_.Has(PidFlag::Transparent);
  for (int index = 0; index < 256; ++index) {
    const auto grey = static_cast<std::uint8_t>(index);
    const std::uint8_t red = drawnWith ? drawnWith->Red(index) : grey;
    const std::uint8_t green = drawnWith ? drawnWith->Green(index) : grey;
    const std::uint8_t blue = drawnWith ? drawnWith->Blue(index) : grey;
    bool clear = false;
    if (transparent) {
      if (transparencyMode == TransparencyMode::IndexZero) {
        clear = index == 0;
      } else {
        const std::uint32_t colour = 0xFF000000u | std::uint32_t(red) << 16 |
                                     std::uint32_t(green) << 8 | std::uint32_t(blue);
        clear = colour == transparencyKey;
      }
    }
    colours[index] = clear ? std::array<std::uint8_t, 4>{0, 0, 0, 0}
                           : std::array<std::uint8_t, 4>{red, green, blue, 255};
  }

  const auto pictureColumns = static_cast<std::size_t>(header_.width);
  for (std::int32_t row = 0; row < visibleHeight; ++row) {
    const auto bufferRow = static_cast<std::size_t>(canvasHeight - 1 - y - row);
    std::uint8_t* out = canvas.data() + (bufferRow * canvasColumns + std::size_t(x)) * 4;
    const std::uint8_t* in = raster_.data() + std::size_t(row) * pictureColumns;
    for (std::int32_t column = 0; column < visibleWidth; ++column, out += 4)
      std::memcpy(out, colours[in[column]].data(), 4);
  }
}
