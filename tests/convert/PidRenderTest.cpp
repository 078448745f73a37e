// PID pictures drawn as RGBA: the palette they take and what is transparent.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ConvertTestSupport.h"
#include "convert/PidImage.h"
#include "support/PidBuilder.h"

namespace {

constexpr std::uint32_t kGruntzKey = 0xFFFF0084;
const char* const kKeyRgb = "\xFF\x00\x84";
// The top row of the picture drawn on a canvas of its own size (bottom row first).
std::vector<Rgba> TopRow(const PidImage& image) {
  std::vector<std::uint8_t> canvas(std::size_t(image.width() * image.height()) * 4, 0x55);
  image.renderRgba(canvas, 0, 0, 0, 0);
  std::vector<Rgba> row;
  for (std::size_t at = canvas.size() - std::size_t(image.width()) * 4; at < canvas.size(); at += 4)
    row.push_back({canvas[at], canvas[at + 1], canvas[at + 2], canvas[at + 3]});
  return row;
}

}  // namespace

TEST(PidPaletteChoice, EmbeddedPaletteWinsUnlessIgnored) {
  Palette own{};
  std::copy_n("\x0B\x16\x21", 3, &own.bytes[3 * 2]);
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
  std::copy_n(kKeyRgb, 3, &palette.bytes[3 * 6]);  // entry 6 is the GRUNTZ key colour
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
  std::copy_n(kKeyRgb, 3, &palette.bytes[0]);
  image.loadFromMemory(file.data(), file.size(), &palette, false, false, true);
  EXPECT_EQ(TopRow(image)[0], kClear);
}
