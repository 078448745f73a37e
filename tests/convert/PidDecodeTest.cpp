// PID pictures decoded to their raster of palette indices.
#include <gtest/gtest.h>

#include <limits>

#include "convert/PidImage.h"
#include "support/PidBuilder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using pidbuild::kEmbeddedPalette;
using pidbuild::kFillIndex;
using pidbuild::kSkipCoded;

Bytes Coded(std::int32_t width, std::int32_t height, std::uint32_t flags, Bytes pixelData) {
  return pidbuild::Build({width, height, 0, 0, flags, std::move(pixelData)});
}

PidImage Decoded(const Bytes& file, PidLoadStatus expected = PidLoadStatus::Loaded,
                 const Palette* current = nullptr) {
  PidImage image;
  EXPECT_EQ(image.loadFromMemory(file.data(), file.size(), current, false, false, false), expected);
  return image;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Ascending(int count) {
  Bytes bytes;
  for (int i = 1; i <= count; ++i) bytes.push_back(std::uint8_t(i));
  return bytes;
}

TEST(PidDecoding, WorkedExamples) {
  const struct {
    const char* what;
    std::int32_t width, height;
    std::uint32_t flags;
    Bytes data, expected;
  } cases[] = {
      // clang-format off
      // Width 4: two literals, a skip of 3 that meets the row end after 2, two literals.
      {"skip reaching the row end loses the rest of its count", 4, 2, kSkipCoded,
       {0x02, 5, 6, 0x83, 0x02, 7, 8}, {5, 6, 0, 0, 7, 8, 0, 0}},
      {"literal run continues on the next row", 4, 2, kSkipCoded, {0x06, 1, 2, 3, 4, 5, 6},
       {1, 2, 3, 4, 5, 6, 0, 0}},
      // 0x00 stores nothing, 0x81 skips one pixel, 0x80 is a literal run of 128.
      {"skip control byte limits", 131, 1, kSkipCoded,
       Concat({{0x00, 0x81, 0x00, 0x80}, Ascending(128), {0x01, 0xEE}}),
       Concat({{0}, Ascending(128), {0xEE, 0}})},
      // A skip of 127 fills row 0 exactly; the next literal starts row 1.
      {"longest skip ending at the row end", 127, 2, kSkipCoded, {0xFF, 0x01, 9},
       Concat({Bytes(127, 0), {9}, Bytes(126, 0)})},
      // 0xC0 is a single pixel of 192, 0xC1 0xFA one pixel of 250, 0xFF 0x07 63 pixels of 7.
      {"repeat code limits", 66, 1, 0, {0xC0, 0xC1, 0xFA, 0xFF, 0x07, 0x03},
       Concat({{192, 250}, Bytes(63, 7), {3}})},
      {"repeat run continues on the next row", 3, 2, 0, {0xC5, 9, 4}, {9, 9, 9, 9, 9, 4}},
      // Overruns are dropped and trailing bytes never taken as pixels.
      {"repeat run past the raster", 2, 2, 0, {0xFF, 3, 0xC2, 8}, {3, 3, 3, 3}},
      {"literal run past the raster", 2, 2, kSkipCoded, {0x06, 1, 2, 3, 4, 5, 6}, {1, 2, 3, 4}},
      // Data ending early leaves the rest at index 0.
      {"literal run cut short", 4, 2, kSkipCoded, {0x05, 1, 2}, {1, 2, 0, 0, 0, 0, 0, 0}},
      {"repeat value byte missing", 2, 2, 0, {3, 0xC5}, {3, 0, 0, 0}},
      {"embedded palette never read as pixels", 4, 1, kSkipCoded | kEmbeddedPalette,
       Concat({{0x04, 1, 2}, Bytes(768, 0xEE)}), {1, 2, 0, 0}},
      // Skips take the low byte of the word at 24 (the builder stores 0xCAFEF00D
      // there); repeat coding has no skips to fill.
      {"skips take the fill index", 4, 2, kSkipCoded | kFillIndex,
       {0x82, 0x01, 5, 0x85, 0x01, 6}, {0x0D, 0x0D, 5, 0x0D, 6, 0, 0, 0}},
      {"fill index without skips", 2, 1, kFillIndex, {0xC2, 0}, {0, 0}},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(Decoded(Coded(c.width, c.height, c.flags, c.data)).raster(), c.expected) << c.what;
}

TEST(PidDecoding, SizesWithoutPixelsOrBeyondTheCapGiveNoRaster) {
  const std::int32_t least = std::numeric_limits<std::int32_t>::min();
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t width, height;
    PidLoadStatus status;
  } cases[] = {// clang-format off
      {0, 5, PidLoadStatus::NoPixels}, {-3, 4, PidLoadStatus::NoPixels},
      {4, least, PidLoadStatus::NoPixels}, {most, most, PidLoadStatus::TooLarge},
      {kMaxPictureSide + 1, 1, PidLoadStatus::TooLarge},
      {1, kMaxPictureSide + 1, PidLoadStatus::TooLarge},
      {4096, 4097, PidLoadStatus::TooLarge}};  // one row past 16 Mi pixels
  // clang-format on
  for (const auto& c : cases) {
    const auto image = Decoded(Coded(c.width, c.height, 0, {0xFF, 1, 0xFF, 1}), c.status);
    EXPECT_TRUE(image.raster().empty()) << c.width << " x " << c.height;
    EXPECT_EQ(image.width(), c.width);
  }
  // The limits themselves are still pictures.
  EXPECT_EQ(Decoded(Coded(kMaxPictureSide, 1, 0, {1})).raster().size(),
            std::size_t(kMaxPictureSide));
  EXPECT_EQ(Decoded(Coded(4096, 4096, 0, {1})).raster().size(), std::size_t(4096 * 4096));
}

TEST(PidDecoding, EmbeddedPaletteLongerThanTheFileAndLoadingAgainReplacesIt) {
  // 40 bytes in all with the palette bit: the picture's palette gets the 40
  // bytes as its last entries, the pixel data is empty.
  const auto file = Coded(2, 1, kEmbeddedPalette, {0x05, 0x06, 1, 2, 3, 4, 5, 0xAB});
  const Palette current = pidbuild::DistinctPalette();
  PidImage image = Decoded(file, PidLoadStatus::Loaded, &current);
  EXPECT_EQ(image.raster(), (Bytes{0, 0}));
  ASSERT_NE(image.palette(), nullptr);
  ASSERT_NE(image.palette(), &current);
  EXPECT_EQ(image.palette()->bytes[767], 0xAB);
  EXPECT_EQ(image.palette()->bytes[767 - 39], 0xEF);  // first byte of the file
  EXPECT_EQ(image.palette()->bytes[0], 0);

  const auto second = pidbuild::Picture(2, 1, {4, 5}, false);
  ASSERT_EQ(image.loadFromMemory(second.data(), second.size(), nullptr, false, false, false),
            PidLoadStatus::Loaded);
  EXPECT_EQ(image.palette(), nullptr);
  EXPECT_EQ(image.raster(), (Bytes{4, 5}));
}

}  // namespace
