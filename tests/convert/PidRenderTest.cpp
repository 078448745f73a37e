#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ConvertTestSupport.h"
#include "convert/PidImage.h"
#include "support/PidBuilder.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::uint32_t kGruntzKey = 0xFFFF0084;
const Rgba kClear{0, 0, 0, 0};

Rgba Opaque(const Palette& palette, int index) {
  return {palette.Red(index), palette.Green(index), palette.Blue(index), 255};
}

// The top row of the picture drawn on a canvas of its own size.
std::vector<Rgba> TopRow(const PidImage& image) {
  std::vector<std::uint8_t> canvas(std::size_t(image.width() * image.height()) * 4, 0x55);
  image.renderRgba(canvas, 0, 0, 0, 0);
  std::vector<Rgba> row;
  for (int x = 0; x < image.width(); ++x)
    row.push_back(CanvasAt(canvas, image.width(), image.height(), x, 0));
  return row;
}

}  // namespace

TEST(PidPaletteChoice, EmbeddedPaletteWinsUnlessIgnoredAndTheGreyRampWithoutAny) {
  Palette own{};
  own.bytes[3 * 2] = 11;
  own.bytes[3 * 2 + 1] = 22;
  own.bytes[3 * 2 + 2] = 33;
  const auto file = pidbuild::Build({1, 1, 0, 0, pidbuild::kEmbeddedPalette, {2}, own});
  const Palette current = pidbuild::DistinctPalette();
  PidImage image;
  ASSERT_EQ(image.loadFromMemory(file.data(), file.size(), &current, false, false, false),
            PidLoadStatus::Loaded);
  EXPECT_EQ(TopRow(image), std::vector<Rgba>{(Rgba{11, 22, 33, 255})});
  EXPECT_EQ(current.bytes, pidbuild::DistinctPalette().bytes);
  // Told to ignore it, the picture takes the palette passed in.
  image.loadFromMemory(file.data(), file.size(), &current, true, false, false);
  EXPECT_EQ(TopRow(image), std::vector<Rgba>{Opaque(current, 2)});

  // Without any palette, indices are grey.
  const auto grey = pidbuild::Picture(3, 1, {0, 7, 200}, false);
  image.loadFromMemory(grey.data(), grey.size(), nullptr, false, false, false);
  EXPECT_EQ(TopRow(image),
            (std::vector<Rgba>{{0, 0, 0, 255}, {7, 7, 7, 255}, {200, 200, 200, 255}}));
}

TEST(PidPaletteChoice, OwnedPaletteOutlivesTheCallersCopy) {
  const auto file = pidbuild::Picture(1, 1, {9}, false);
  PidImage image;
  {
    const Palette temporary = pidbuild::DistinctPalette();
    image.loadFromMemory(file.data(), file.size(), &temporary, false, true, false);
  }
  EXPECT_EQ(TopRow(image), std::vector<Rgba>{Opaque(pidbuild::DistinctPalette(), 9)});
}

TEST(PidTransparency, ForcedTransparencyClearsIndexZeroIncludingSkips) {
  // Row: skip 2, literal 5, literal 0.
  const auto file = pidbuild::Build({4, 1, 0, 0, pidbuild::kSkipCoded, {0x82, 0x02, 5, 0}, {}});
  const Palette palette = pidbuild::DistinctPalette();
  PidImage image;
  image.loadFromMemory(file.data(), file.size(), &palette, false, false, true);
  EXPECT_EQ(TopRow(image), (std::vector<Rgba>{kClear, kClear, Opaque(palette, 5), kClear}));
  // Not forced and not flagged: index 0 is drawn like any colour.
  image.loadFromMemory(file.data(), file.size(), &palette, false, false, false);
  const Rgba zero = Opaque(palette, 0);
  EXPECT_EQ(TopRow(image), (std::vector<Rgba>{zero, zero, Opaque(palette, 5), zero}));
}

TEST(PidTransparency, ColourKeyDecidesByColourNotIndex) {
  Palette palette = pidbuild::DistinctPalette();
  palette.bytes[3 * 6] = 255;  // entry 6 is the GRUNTZ key colour
  palette.bytes[3 * 6 + 1] = 0;
  palette.bytes[3 * 6 + 2] = 132;
  const auto file = pidbuild::Build({3, 1, 0, 0, pidbuild::kSkipCoded, {0x81, 0x02, 6, 9}, {}});
  PidImage image;
  image.transparencyMode = TransparencyMode::ColourKey;
  image.transparencyKey = kGruntzKey;
  image.loadFromMemory(file.data(), file.size(), &palette, false, false, true);
  // The skipped pixel stays opaque.
  EXPECT_EQ(TopRow(image), (std::vector<Rgba>{Opaque(palette, 0), kClear, Opaque(palette, 9)}));
  // Unless the picture fills its skips with the key's index (flag 0x100, index at 24).
  auto filled = file;
  filled[5] |= 0x01;
  filled[24] = 6;
  image.loadFromMemory(filled.data(), filled.size(), &palette, false, false, true);
  EXPECT_EQ(TopRow(image), (std::vector<Rgba>{kClear, kClear, Opaque(palette, 9)}));

  // Entry 0 with the key colour: skipped pixels become transparent.
  palette.bytes[0] = 255;
  palette.bytes[1] = 0;
  palette.bytes[2] = 132;
  image.loadFromMemory(file.data(), file.size(), &palette, false, false, true);
  EXPECT_EQ(TopRow(image)[0], kClear);

  // Without a palette the grey ramp never matches the key.
  Bytes every(256);
  for (int i = 0; i < 256; ++i) every[std::size_t(i)] = std::uint8_t(i);
  const auto grey = pidbuild::Picture(256, 1, every, false);
  image.loadFromMemory(grey.data(), grey.size(), nullptr, false, false, true);
  const auto row = TopRow(image);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(row[std::size_t(i)][3], 255) << i;
}

TEST(PidCanvas, RowsAreStoredBottomUp) {
  // 2 x 2 picture drawn at (3, 2) on a 6 x 10 canvas: its top row goes into
  // buffer row 10 - 1 - 2 = 7.
  const auto file = pidbuild::Picture(2, 2, {1, 2, 3, 4}, false);
  PidImage image;
  image.loadFromMemory(file.data(), file.size(), nullptr, false, false, false);
  std::vector<std::uint8_t> canvas(6 * 10 * 4, 0x55);
  image.renderRgba(canvas, 6, 10, 3, 2);
  const auto bufferPixel = [&](int column, int row) {
    const std::size_t at = (std::size_t(row) * 6 + std::size_t(column)) * 4;
    return Rgba{canvas[at], canvas[at + 1], canvas[at + 2], canvas[at + 3]};
  };
  EXPECT_EQ(bufferPixel(3, 7), (Rgba{1, 1, 1, 255}));
  EXPECT_EQ(bufferPixel(4, 7), (Rgba{2, 2, 2, 255}));
  EXPECT_EQ(bufferPixel(3, 6), (Rgba{3, 3, 3, 255}));
  EXPECT_EQ(bufferPixel(4, 6), (Rgba{4, 4, 4, 255}));
  // Only the picture's rectangle is touched.
  int touched = 0;
  for (std::size_t i = 0; i < canvas.size(); ++i) touched += canvas[i] != 0x55;
  EXPECT_EQ(touched, 4 * 4);
}

TEST(PidCanvas, PictureIsClippedToTheCanvas) {
  // 3 x 3 picture of indices 1..9 at (1, 1) on a 2 x 2 canvas: only index 1 fits.
  const auto file = pidbuild::Picture(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, false);
  PidImage image;
  image.loadFromMemory(file.data(), file.size(), nullptr, false, false, false);
  std::vector<std::uint8_t> canvas(2 * 2 * 4, 0x55);
  image.renderRgba(canvas, 2, 2, 1, 1);
  EXPECT_EQ(CanvasAt(canvas, 2, 2, 1, 1), (Rgba{1, 1, 1, 255}));
  EXPECT_EQ(CanvasAt(canvas, 2, 2, 0, 0), (Rgba{0x55, 0x55, 0x55, 0x55}));

  // Negative positions count as 0; far positions draw nothing.
  image.renderRgba(canvas, 2, 2, -4, -9);
  EXPECT_EQ(CanvasAt(canvas, 2, 2, 0, 0), (Rgba{1, 1, 1, 255}));
  EXPECT_EQ(CanvasAt(canvas, 2, 2, 1, 1), (Rgba{5, 5, 5, 255}));
  std::vector<std::uint8_t> untouched(2 * 2 * 4, 0x55);
  image.renderRgba(untouched, 2, 2, 2, 0);
  image.renderRgba(untouched, 2, 2, 0, 2);
  EXPECT_EQ(untouched, std::vector<std::uint8_t>(2 * 2 * 4, 0x55));
}

TEST(PidCanvas, BufferSmallerThanItsStatedSizeIsRefused) {
  const auto file = pidbuild::Picture(2, 2, {1, 2, 3, 4}, false);
  PidImage image;
  image.loadFromMemory(file.data(), file.size(), nullptr, false, false, false);
  std::vector<std::uint8_t> canvas(2 * 2 * 4 - 1);
  EXPECT_THROW(image.renderRgba(canvas, 0, 0, 0, 0), std::invalid_argument);
  EXPECT_THROW(image.renderRgba(canvas, 100000, 100000, 0, 0), std::invalid_argument);
}
