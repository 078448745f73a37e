#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "convert/PidImage.h"
#include "support/PidBuilder.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Coded(std::int32_t width, std::int32_t height, std::uint32_t flags, Bytes pixelData) {
  pidbuild::PidFile pid;
  pid.width = width;
  pid.height = height;
  pid.flags = flags;
  pid.pixelData = std::move(pixelData);
  return pidbuild::Build(pid);
}

PidImage Decoded(const Bytes& file, PidLoadStatus expected = PidLoadStatus::Loaded) {
  PidImage image;
  EXPECT_EQ(image.loadFromMemory(file.data(), file.size(), nullptr, false, false, false), expected);
  return image;
}

}  // namespace

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
  constexpr std::uint32_t kSkip = pidbuild::kSkipCoded;
  constexpr std::uint32_t kFill = 0x100;
  struct Case {
    const char* what;
    std::int32_t width, height;
    std::uint32_t flags;
    Bytes data, expected;
  };
  const Case cases[] = {
      // Width 4: two literals, a skip of 3 that meets the row end after 2, two literals.
      {"skip reaching the row end loses the rest of its count",
       4,
       2,
       kSkip,
       {0x02, 5, 6, 0x83, 0x02, 7, 8},
       {5, 6, 0, 0, 7, 8, 0, 0}},
      {"literal run continues on the next row",
       4,
       2,
       kSkip,
       {0x06, 1, 2, 3, 4, 5, 6},
       {1, 2, 3, 4, 5, 6, 0, 0}},
      // 0x00 stores nothing, 0x81 skips one pixel, 0x80 is a literal run of 128.
      {"skip control byte limits", 131, 1, kSkip,
       Concat({{0x00, 0x81, 0x00, 0x80}, Ascending(128), {0x01, 0xEE}}),
       Concat({{0}, Ascending(128), {0xEE, 0}})},
      // A skip of 127 fills row 0 exactly; the next literal starts row 1.
      {"longest skip ending at the row end",
       127,
       2,
       kSkip,
       {0xFF, 0x01, 9},
       Concat({Bytes(127, 0), {9}, Bytes(126, 0)})},
      // 0xC0 is a single pixel of 192, 0xC1 0xFA one pixel of 250, 0xFF 0x07 63 pixels of 7.
      {"repeat code limits",
       66,
       1,
       0,
       {0xC0, 0xC1, 0xFA, 0xFF, 0x07, 0x03},
       Concat({{192, 250}, Bytes(63, 7), {3}})},
      {"repeat run continues on the next row", 3, 2, 0, {0xC5, 9, 4}, {9, 9, 9, 9, 9, 4}},
      // Overruns are dropped and trailing bytes never taken as pixels.
      {"repeat run past the raster", 2, 2, 0, {0xFF, 3, 0xC2, 8}, {3, 3, 3, 3}},
      {"literal run past the raster", 2, 2, kSkip, {0x06, 1, 2, 3, 4, 5, 6}, {1, 2, 3, 4}},
      // Data ending early leaves the rest at index 0.
      {"literal run cut short", 4, 2, kSkip, {0x05, 1, 2}, {1, 2, 0, 0, 0, 0, 0, 0}},
      {"repeat value byte missing", 2, 2, 0, {3, 0xC5}, {3, 0, 0, 0}},
      {"no pixel data", 2, 1, 0, {}, {0, 0}},
      // Flag 0x100: skips take the low byte of the dword at 24 (the builder
      // stores 0xCAFEF00D there); repeat coding has no skips to fill.
      {"skips take the fill index",
       4,
       2,
       kSkip | kFill,
       {0x82, 0x01, 5, 0x85, 0x01, 6},
       {0x0D, 0x0D, 5, 0x0D, 6, 0, 0, 0}},
      {"fill index without skips", 2, 1, kFill, {0xC2, 0}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Decoded(Coded(c.width, c.height, c.flags, c.data)).raster(), c.expected);
  }
}

TEST(PidDecoding, EmbeddedPaletteIsNeverReadAsPixels) {
  pidbuild::PidFile pid;
  pid.width = 4;
  pid.height = 1;
  pid.flags = pidbuild::kSkipCoded | pidbuild::kEmbeddedPalette;
  pid.pixelData = {0x04, 1, 2};  // two of the four promised bytes
  pid.palette = pidbuild::DistinctPalette();
  const auto image = Decoded(pidbuild::Build(pid));
  EXPECT_EQ(image.raster(), (Bytes{1, 2, 0, 0}));
}

TEST(PidDecoding, BothCodingsOfTheSameRasterAgree) {
  std::mt19937 random(7);
  const std::int32_t width = 37, height = 23;
  Bytes indices(std::size_t(width * height));
  // Long zero and equal-value stretches exercise skips and runs at row ends.
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const auto roll = random() % 10;
    indices[i] = roll < 4 ? 0 : roll < 7 && i > 0 ? indices[i - 1] : std::uint8_t(random());
  }
  for (bool skipCoded : {true, false}) {
    const auto image = Decoded(pidbuild::Picture(width, height, indices, skipCoded));
    EXPECT_EQ(image.raster(), indices) << (skipCoded ? "skip coding" : "repeat coding");
  }
}

TEST(PidHostileHeaders, SizesWithoutPixelsOrAbsurdSizesGiveNoRasterAndAllocateNothing) {
  const std::int32_t least = std::numeric_limits<std::int32_t>::min();
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  struct Case {
    std::int32_t width, height;
    PidLoadStatus status;
  };
  for (const Case& c : {Case{0, 5, PidLoadStatus::NoPixels},
                        {5, 0, PidLoadStatus::NoPixels},
                        {-3, 4, PidLoadStatus::NoPixels},
                        {4, least, PidLoadStatus::NoPixels},
                        {most, most, PidLoadStatus::TooLarge},
                        {kMaxPictureSide + 1, 1, PidLoadStatus::TooLarge},
                        {1, kMaxPictureSide + 1, PidLoadStatus::TooLarge},
                        {kMaxPictureSide, kMaxPictureSide, PidLoadStatus::TooLarge},
                        {4096, 4097, PidLoadStatus::TooLarge}}) {  // one row past 16 Mi pixels
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    const auto image = Decoded(Coded(c.width, c.height, 0, {0xFF, 1, 0xFF, 1}), c.status);
    EXPECT_TRUE(image.raster().empty());
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
  }
  // The limit itself is still a picture.
  EXPECT_EQ(Decoded(Coded(kMaxPictureSide, 1, 0, {1})).raster().size(),
            std::size_t(kMaxPictureSide));
}

TEST(PidHostileHeaders, EmbeddedPaletteLongerThanTheFile) {
  // 40 bytes in all with the palette bit: the picture's palette gets the 40
  // bytes as its last entries, the pixel data is empty.
  auto file = Coded(2, 1, pidbuild::kEmbeddedPalette, {0x05, 0x06, 1, 2, 3, 4, 5, 0xAB});
  ASSERT_EQ(file.size(), 40u);
  PidImage image;
  const Palette current = pidbuild::DistinctPalette();
  ASSERT_EQ(image.loadFromMemory(file.data(), file.size(), &current, false, false, false),
            PidLoadStatus::Loaded);
  EXPECT_EQ(image.raster(), (Bytes{0, 0}));
  ASSERT_NE(image.palette(), nullptr);
  ASSERT_NE(image.palette(), &current);
  EXPECT_EQ(image.palette()->bytes[767], 0xAB);
  EXPECT_EQ(image.palette()->bytes[767 - 39], 0xEF);  // first byte of the file
  EXPECT_EQ(image.palette()->bytes[0], 0);
}

TEST(PidImageReuse, LoadingAgainReplacesEverything) {
  PidImage image;
  pidbuild::PidFile withPalette;
  withPalette.width = 1;
  withPalette.height = 1;
  withPalette.flags = pidbuild::kEmbeddedPalette;
  withPalette.pixelData = {3};
  withPalette.palette = pidbuild::DistinctPalette();
  const auto first = pidbuild::Build(withPalette);
  image.loadFromMemory(first.data(), first.size(), nullptr, false, false, false);
  ASSERT_NE(image.palette(), nullptr);

  const auto second = pidbuild::Picture(2, 1, {4, 5}, false);
  ASSERT_EQ(image.loadFromMemory(second.data(), second.size(), nullptr, false, false, false),
            PidLoadStatus::Loaded);
  EXPECT_EQ(image.palette(), nullptr);
  EXPECT_EQ(image.raster(), (Bytes{4, 5}));
}
