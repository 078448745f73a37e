// Feeds arbitrary bytes to the PID decoder as a picture file and draws the
// result into small canvases at many positions.
//
// The header words at 0, 24 and 28 mean nothing to the decoder, so they carry
// the fuzzer's choices: load options, canvas size and position. Seeds are
// plain picture files.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "FuzzSupport.h"
#include "convert/PidImage.h"
#include "convert/Placement.h"
#include "support/PidBuilder.h"

namespace {

// Pictures within the decoder's limit but beyond this are skipped: they are
// valid, merely slow, and would starve the search. Larger sides still reach
// the decoder's own refusal.
constexpr std::int64_t kFuzzPixelBudget = std::int64_t{1} << 14;
constexpr std::uint8_t kUntouched = 0x5A;
constexpr std::int64_t kLeast = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMost = std::numeric_limits<std::int32_t>::max();

using fuzz::Check;

std::vector<std::vector<std::uint8_t>> Seeds() {
  std::vector<std::vector<std::uint8_t>> seeds;
  std::vector<std::uint8_t> indices(12 * 7);
  for (std::size_t i = 0; i < indices.size(); ++i)
    indices[i] = i % 5 == 0 ? 0 : std::uint8_t(i * 37 % 251);
  seeds.push_back(pidbuild::Picture(12, 7, indices, true, -3, 4));
  for (const pidbuild::PidFile& pid :
       {pidbuild::PidFile{4, 2, 0, 0, pidbuild::kSkipCoded, {0x02, 5, 6, 0x83, 0x02}},
        pidbuild::PidFile{66, 1, 0, 0, 0, {0xC0, 0xC1, 0xFA, 0xFF, 0x07, 3}},
        pidbuild::PidFile{2, 2, 0, 0, pidbuild::kEmbeddedPalette, {1, 2, 3}},
        pidbuild::PidFile{20000, 20000, 0, 0, 0, {0xFF, 1}}})
    seeds.push_back(pidbuild::Build(pid));
  // The same picture with each choice word set, so the search starts from
  // every option and a few canvas positions.
  for (std::uint32_t options = 0; options < 32; options += 3) {
    auto file = pidbuild::Picture(9, 6, indices, true, 2, -1);
    rezbuild::SetU32(file, 0, options);
    rezbuild::SetU32(file, 24, options * 0x0101);
    rezbuild::SetU32(file, 28, (options * 3) | (0xFFFEu - options) << 16);
    seeds.push_back(file);
  }
  return seeds;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::WriteSeedsIfAsked(Seeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto header = readPidHeader(data, size);
  Check(header.has_value() == (size >= PidHeader::kBytes));
  const std::uint32_t options = header ? fuzz::Word(data, 0) : 0;
  const std::uint32_t canvasChoice = header ? fuzz::Word(data, 24) : 0;
  const std::uint32_t positionChoice = header ? fuzz::Word(data, 28) : 0;
  if (header && header->width > 0 && header->height > 0 && header->width <= kMaxPictureSide &&
      header->height <= kMaxPictureSide &&
      std::int64_t{header->width} * header->height > kFuzzPixelBudget)
    return 0;

  const Palette borrowed = pidbuild::DistinctPalette();
  PidImage image;
  if (options & 8) {
    image.transparencyMode = TransparencyMode::ColourKey;
    image.transparencyKey = 0xFF000000u | (options >> 8);
  }
  const PidLoadStatus status = image.loadFromMemory(
      data, size, (options & 16) ? &borrowed : nullptr, options & 1, options & 2, options & 4);
  if (status != PidLoadStatus::Loaded) {
    Check(image.raster().empty());
    return 0;
  }
  Check(image.raster().size() == std::size_t(image.width()) * std::size_t(image.height()));

  // Canvas 0 stands for the picture's own size.
  const std::int32_t canvasWidth = std::int32_t(canvasChoice & 0x3F);
  const std::int32_t canvasHeight = std::int32_t((canvasChoice >> 8) & 0x3F);
  const std::int32_t drawnWidth = canvasWidth > 0 ? canvasWidth : image.width();
  const std::int32_t drawnHeight = canvasHeight > 0 ? canvasHeight : image.height();
  std::vector<std::uint8_t> canvas(std::size_t(drawnWidth) * std::size_t(drawnHeight) * 4,
                                   kUntouched);

  std::int32_t x = std::int16_t(positionChoice & 0xFFFF);
  std::int32_t y = std::int16_t(positionChoice >> 16);
  if (options & 32) {
    // Where the conversion would put it on a canvas starting at (x, y) from the anchor.
    const CanvasPlacement placement =
        placeOnCanvas(image.header(), CommonCanvas{canvasWidth, canvasHeight, x, y});
    x = std::int32_t(std::clamp<std::int64_t>(placement.x, kLeast, kMost));
    y = std::int32_t(std::clamp<std::int64_t>(placement.y, kLeast, kMost));
  }
  // The canvas of this picture alone is the picture itself.
  const CommonCanvas own = canvasForBounds(anchorBoxOf(image.header()));
  const CanvasPlacement alone = placeOnCanvas(image.header(), own);
  Check(own.width == image.width() && own.height == image.height() && alone.x == 0 && alone.y == 0);
  image.renderRgba(canvas, canvasWidth, canvasHeight, x, y);

  // Every pixel is either untouched, transparent (all zero) or opaque.
  for (std::size_t at = 0; at < canvas.size(); at += 4) {
    const std::uint8_t alpha = canvas[at + 3];
    Check(alpha == kUntouched || alpha == 0 || alpha == 255);
    if (alpha == 0) Check(canvas[at] == 0 && canvas[at + 1] == 0 && canvas[at + 2] == 0);
  }
  return 0;
}
