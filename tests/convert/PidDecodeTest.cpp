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

TEST(PidSkipCoding, SkipReachingRowEndLosesTheRestOfItsCount) {
  // Width 4: two literals, a skip of 3 that meets the row end after 2, two literals.
  const auto image = Decoded(Coded(4, 2, pidbuild::kSkipCoded, {0x02, 5, 6, 0x83, 0x02, 7, 8}));
  EXPECT_EQ(image.raster(), (Bytes{5, 6, 0, 0, 7, 8, 0, 0}));
}

TEST(PidSkipCoding, LiteralRunContinuesOnTheNextRow) {
  const auto image = Decoded(Coded(4, 2, pidbuild::kSkipCoded, {0x06, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(image.raster(), (Bytes{1, 2, 3, 4, 5, 6, 0, 0}));
}

TEST(PidSkipCoding, ControlByteLimits) {
  // 0x00 stores nothing, 0x81 skips one pixel, 0x80 is a literal run of 128.
  Bytes data{0x00, 0x81, 0x00, 0x80};
  for (int i = 1; i <= 128; ++i) data.push_back(std::uint8_t(i));
  data.push_back(0x01);
  data.push_back(0xEE);
  const auto image = Decoded(Coded(131, 1, pidbuild::kSkipCoded, data));
  ASSERT_EQ(image.raster().size(), 131u);
  EXPECT_EQ(image.raster()[0], 0);
  for (int i = 1; i <= 128; ++i) EXPECT_EQ(image.raster()[std::size_t(i)], i);
  EXPECT_EQ(image.raster()[129], 0xEE);
  EXPECT_EQ(image.raster()[130], 0);
}

TEST(PidSkipCoding, LongestSkipEndingExactlyAtRowEndLosesNothing) {
  // Width 127: a skip of 127 fills row 0 exactly; the next literal starts row 1.
  const auto image = Decoded(Coded(127, 2, pidbuild::kSkipCoded, {0xFF, 0x01, 9}));
  EXPECT_EQ(image.raster()[126], 0);
  EXPECT_EQ(image.raster()[127], 9);
}

TEST(PidRepeatCoding, CodeLimits) {
  // 0xC0 is a single pixel of index 192, 0xC1 0xFA one pixel of 250,
  // 0xFF 0x07 63 pixels of 7.
  const auto image = Decoded(Coded(66, 1, 0, {0xC0, 0xC1, 0xFA, 0xFF, 0x07, 0x03}));
  ASSERT_EQ(image.raster().size(), 66u);
  EXPECT_EQ(image.raster()[0], 192);
  EXPECT_EQ(image.raster()[1], 250);
  for (std::size_t i = 2; i < 65; ++i) EXPECT_EQ(image.raster()[i], 7) << i;
  EXPECT_EQ(image.raster()[65], 3);
}

TEST(PidRepeatCoding, RunContinuesOnTheNextRow) {
  const auto image = Decoded(Coded(3, 2, 0, {0xC5, 9, 4}));
  EXPECT_EQ(image.raster(), (Bytes{9, 9, 9, 9, 9, 4}));
}

TEST(PidDecoding, StopsWhenTheRasterIsFullEvenInsideARun) {
  // Each code would overrun the 2 x 2 raster; the excess is dropped, and the
  // trailing bytes are never taken as pixels.
  EXPECT_EQ(Decoded(Coded(2, 2, 0, {0xFF, 3, 0xC2, 8})).raster(), (Bytes{3, 3, 3, 3}));
  EXPECT_EQ(Decoded(Coded(2, 2, pidbuild::kSkipCoded, {0x06, 1, 2, 3, 4, 5, 6})).raster(),
            (Bytes{1, 2, 3, 4}));
}

TEST(PidDecoding, DataEndingEarlyLeavesTheRestAtIndexZero) {
  // A literal run promising 5 bytes with only 2 present.
  EXPECT_EQ(Decoded(Coded(4, 2, pidbuild::kSkipCoded, {0x05, 1, 2})).raster(),
            (Bytes{1, 2, 0, 0, 0, 0, 0, 0}));
  // A repeat code whose value byte is missing.
  EXPECT_EQ(Decoded(Coded(2, 2, 0, {3, 0xC5})).raster(), (Bytes{3, 0, 0, 0}));
  // No pixel data at all.
  EXPECT_EQ(Decoded(Coded(2, 1, 0, {})).raster(), (Bytes{0, 0}));
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

TEST(PidHeaderReading, FieldsAreSignedLittleEndian) {
  const auto file = pidbuild::Picture(3, 2, Bytes(6, 1), true, -7, 300, pidbuild::kTransparent);
  const auto header = readPidHeader(file.data(), file.size());
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 3);
  EXPECT_EQ(header->height, 2);
  EXPECT_EQ(header->offsetX, -7);
  EXPECT_EQ(header->offsetY, 300);
  EXPECT_EQ(header->flags, pidbuild::kSkipCoded | pidbuild::kTransparent);
  EXPECT_FALSE(readPidHeader(file.data(), 31));
}

TEST(PidHeaderReading, ForcedTransparencyChangesTheImageNotTheHeaderRecord) {
  const auto file = pidbuild::Picture(1, 1, {4}, false);
  PidImage image;
  ASSERT_EQ(image.loadFromMemory(file.data(), file.size(), nullptr, false, false, true),
            PidLoadStatus::Loaded);
  EXPECT_TRUE(image.header().Has(PidFlag::Transparent));
  EXPECT_FALSE(readPidHeader(file.data(), file.size())->Has(PidFlag::Transparent));
}

TEST(PidHostileHeaders, SizesWithoutPixelsGiveAnEmptyRaster) {
  for (auto [width, height] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4},
                               std::pair{4, std::numeric_limits<std::int32_t>::min()}}) {
    const auto image =
        Decoded(Coded(width, height, 0, {0xFF, 1, 0xFF, 1}), PidLoadStatus::NoPixels);
    EXPECT_TRUE(image.raster().empty());
    EXPECT_EQ(image.width(), width);
    EXPECT_EQ(image.height(), height);
  }
}

TEST(PidHostileHeaders, AbsurdSizesAreRefusedWithoutAllocating) {
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  for (auto [width, height] : {std::pair{most, most}, std::pair{kMaxPictureSide + 1, 1},
                               std::pair{1, kMaxPictureSide + 1}}) {
    const auto image = Decoded(Coded(width, height, 0, {1, 2}), PidLoadStatus::TooLarge);
    EXPECT_TRUE(image.raster().empty());
  }
  // The limit itself is still a picture.
  EXPECT_EQ(Decoded(Coded(kMaxPictureSide, 1, 0, {1})).raster().size(),
            std::size_t(kMaxPictureSide));
}

TEST(PidHostileHeaders, FileShorterThanAHeader) {
  const auto file = pidbuild::Picture(2, 2, Bytes(4, 1), false);
  PidImage image;
  EXPECT_EQ(image.loadFromMemory(file.data(), 31, nullptr, false, false, true),
            PidLoadStatus::TooShort);
  EXPECT_TRUE(image.raster().empty());
  EXPECT_EQ(image.loadFromMemory(nullptr, 0, nullptr, false, false, true), PidLoadStatus::TooShort);
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
