#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "ConvertTestSupport.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "extract/PngOutput.h"
#include "support/PidBuilder.h"

namespace fs = std::filesystem;

namespace {

const Rgba kClear{0, 0, 0, 0};

Rgba Opaque(const Palette& palette, int index) {
  return {palette.Red(index), palette.Green(index), palette.Blue(index), 255};
}

std::vector<Rgba> Row(const RgbaPicture& png, std::uint32_t y) {
  std::vector<Rgba> row;
  for (std::uint32_t x = 0; x < png.width; ++x) row.push_back(png.At(x, y));
  return row;
}

class PngExport : public ::testing::Test {
 protected:
  void SetUp() override { SetDiagnosticsEnabled(true); }

  // Encodes the PID bytes and reads the PNG back; fails the test when there is none.
  RgbaPicture Encode(const std::vector<unsigned char>& pid, CanvasSize canvas = {}) {
    const PngEncoding png = EncodePidAsPng(pid, context, canvas);
    EXPECT_TRUE(png.Succeeded()) << png.refusal;
    std::ofstream(dir / "out.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.bytes.data()), std::streamsize(png.bytes.size()));
    return ReadPng(dir / "out.png");
  }

  TempDir dir;
  ConversionContext context;
};

}  // namespace

TEST_F(PngExport, PngHoldsThePictureUprightPixelForPixel) {
  // 3 x 2, repeat coded: top row 1 0 2, bottom row 3 3 0.
  context.palette = pidbuild::DistinctPalette();
  const auto png = Encode(pidbuild::Picture(3, 2, {1, 0, 2, 3, 3, 0}, false));
  ASSERT_EQ(png.width, 3u);
  ASSERT_EQ(png.height, 2u);
  const Palette& palette = *context.palette;
  EXPECT_EQ(Row(png, 0), (std::vector<Rgba>{Opaque(palette, 1), kClear, Opaque(palette, 2)}));
  EXPECT_EQ(Row(png, 1), (std::vector<Rgba>{Opaque(palette, 3), Opaque(palette, 3), kClear}));
}

TEST_F(PngExport, SkipCodedPictureWithItsOwnPaletteOnARectCanvas) {
  // 2 x 3 with its own palette, offsetX 13 on a 30 x 20 canvas: x = 15 - (2 - 13) / 2
  // = 20 (truncated), y = 10 - 3 / 2 = 9.
  Palette own{};
  own.bytes[3 * 4] = 40;
  own.bytes[3 * 5 + 1] = 50;
  context.palette = pidbuild::DistinctPalette();
  const auto png =
      Encode(pidbuild::Build({2, 3, 13, 0, pidbuild::kSkipCoded | pidbuild::kEmbeddedPalette,
                              pidbuild::SkipCode({4, 5, 0, 4, 5, 5}, 2), own}),
             {30, 20});
  ASSERT_EQ(png.width, 30u);
  ASSERT_EQ(png.height, 20u);
  for (std::uint32_t y = 0; y < 20; ++y)
    for (std::uint32_t x = 0; x < 30; ++x)
      if (x < 20 || x >= 22 || y < 9 || y >= 12) {
        EXPECT_EQ(png.At(x, y), kClear) << x << "," << y;
      }
  EXPECT_EQ(png.At(20, 9), Opaque(own, 4));
  EXPECT_EQ(png.At(21, 9), Opaque(own, 5));
  EXPECT_EQ(png.At(20, 10), kClear);
  EXPECT_EQ(png.At(21, 10), Opaque(own, 4));
  EXPECT_EQ(png.At(20, 11), Opaque(own, 5));
}

TEST_F(PngExport, GruntzPicturesAreKeyedByColour) {
  context.game = kGameGruntz;
  Palette palette = pidbuild::DistinctPalette();
  palette.bytes[3 * 7] = 255;
  palette.bytes[3 * 7 + 1] = 0;
  palette.bytes[3 * 7 + 2] = 132;
  context.palette = palette;
  EXPECT_EQ(Row(Encode(pidbuild::Picture(3, 1, {0, 7, 8}, true)), 0),
            (std::vector<Rgba>{Opaque(palette, 0), kClear, Opaque(palette, 8)}));
}

TEST_F(PngExport, PictureTallerThanTheCanvasIsReportedAndClipped) {
  // 3 x 3 on a 2 x 2 canvas: the top-left 2 x 2 of the picture.
  ::testing::internal::CaptureStdout();
  const auto png = Encode(pidbuild::Picture(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, false), {2, 2});
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR\n");
  ASSERT_EQ(png.width, 2u);
  ASSERT_EQ(png.height, 2u);
  EXPECT_EQ(png.At(0, 0), (Rgba{1, 1, 1, 255}));
  EXPECT_EQ(png.At(1, 1), (Rgba{5, 5, 5, 255}));
}

TEST_F(PngExport, UnusablePicturesAreRefusedWithTheReason) {
  const std::int32_t huge = 100000;
  const std::pair<std::vector<unsigned char>, std::string> cases[] = {
      {pidbuild::Picture(0, 4, {}, false), "picture size 0 x 4 holds no pixels"},
      {pidbuild::Picture(huge, huge, {}, false),
       "picture size 100000 x 100000 is larger than 16384 x 16384"},
      {std::vector<unsigned char>(20, 1), "only 20 bytes, too short for a picture header"}};
  for (const auto& [pid, reason] : cases) {
    const PngEncoding png = EncodePidAsPng(pid, context, {});
    EXPECT_EQ(png.refusal, reason);
    EXPECT_TRUE(png.bytes.empty());
  }
  // A common canvas no sane folder has.
  EXPECT_EQ(EncodePidAsPng(pidbuild::Picture(4, 4, {}, false), context, {huge, 10}).refusal,
            "canvas size 100000 x 10 is larger than 16384 x 16384");
}

// The questions the worker asks about image library errors.
TEST_F(PngExport, LibraryErrorsAreAskedAndTryAgainEncodesAnew) {
  const PngEncoding failed{{}, {}, {{1290, "could not write"}, {1291, "second"}}};
  const PngEncoding good{{1, 2, 3}, {}, {}};
  struct Case {
    std::vector<ImageErrorAnswer> answers;
    int failures;  // encodings that fail before one succeeds
    std::vector<std::string> asked;
    bool paused, encoded;
  };
  const Case cases[] = {
      {{ImageErrorAnswer::Continue},
       9,
       {"#1290: could not write\nFile: A.PID", "#1291: second\nFile: A.PID"},
       false,
       false},
      {{ImageErrorAnswer::Cancel, ImageErrorAnswer::Continue},
       9,
       {"#1290: could not write\nFile: A.PID", "#1291: second\nFile: A.PID"},
       true,
       false},
      // Errors not asked before a retry are asked after the new attempt's own.
      {{ImageErrorAnswer::TryAgain, ImageErrorAnswer::Continue},
       2,
       {"#1290: could not write\nFile: A.PID", "#1290: could not write\nFile: A.PID",
        "#1291: second\nFile: A.PID", "#1291: second\nFile: A.PID"},
       false,
       false},
      {{ImageErrorAnswer::TryAgain}, 1, {"#1290: could not write\nFile: A.PID"}, false, true},
  };
  for (const Case& c : cases) {
    ScriptedQuestions questions;
    questions.imageErrorAnswers = c.answers;
    std::atomic<bool> paused{false};
    int attempts = 0;
    std::string failure;
    const auto bytes = EncodeAsking(
        questions, paused, "A.PID", [&] { return attempts++ < c.failures ? failed : good; },
        failure);
    EXPECT_EQ(questions.imageErrors, c.asked);
    EXPECT_EQ(paused, c.paused);
    EXPECT_EQ(bytes.has_value(), c.encoded);
    if (!c.encoded) {
      EXPECT_EQ(failure, "the image library failed: #1290 could not write");
    }
  }
}

TEST(PngExportThreads, ConcurrentEncodingsEachGetTheirOwnPicture) {
  TempDir dir;
  constexpr int kThreads = 3;
  constexpr int kPictures = 20;
  std::vector<std::thread> threads;
  std::vector<std::vector<unsigned char>> last(kThreads);
  std::vector<int> encoded(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const auto pid = pidbuild::Picture(
          8 + t, 5, std::vector<std::uint8_t>(std::size_t(5 * (8 + t)), std::uint8_t(10 * t + 1)),
          false);
      for (int i = 0; i < kPictures; ++i) {
        PngEncoding png = EncodePidAsPng(pid, ConversionContext{}, {});
        if (png.Succeeded()) ++encoded[std::size_t(t)];
        last[std::size_t(t)] = std::move(png.bytes);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(encoded[std::size_t(t)], kPictures);
    const fs::path path = dir / ("t" + std::to_string(t) + ".png");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(last[std::size_t(t)].data()),
               std::streamsize(last[std::size_t(t)].size()));
    const auto png = ReadPng(path);
    EXPECT_EQ(png.width, std::uint32_t(8 + t));
    EXPECT_EQ(png.At(3, 4)[0], 10 * t + 1);
  }
}
