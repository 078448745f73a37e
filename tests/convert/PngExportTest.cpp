// PID pictures encoded as PNG files, alone or on a folder's common canvas, and
// the questions asked when the image library reports errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "ConvertTestSupport.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "extract/PngOutput.h"
#include "support/PidBuilder.h"

namespace {

// Every pixel, row by row, top first.
std::vector<Rgba> Pixels(const RgbaPicture& png) {
  std::vector<Rgba> all;
  for (std::uint32_t y = 0; y < png.height; ++y)
    for (std::uint32_t x = 0; x < png.width; ++x) all.push_back(png.At(x, y));
  return all;
}

class PngExport : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDiagnosticsEnabled(true);
    context.palette = pidbuild::DistinctPalette();
  }
  RgbaPicture Encode(const std::vector<unsigned char>& pid, const CommonCanvas& canvas = {}) {
    const PngEncoding png = EncodePidAsPng(pid, context, canvas);
    EXPECT_TRUE(png.Succeeded()) << png.refusal;
    return DecodePng(png.bytes);
  }

  ConversionContext context;
};

TEST_F(PngExport, SkipCodedPictureWithItsOwnPaletteOnARectCanvas) {
  // 2 x 3 with its own palette, offsetX 13: its box starts at 13 - 2 / 2 = 12,
  // 0 - 3 / 2 = -1; on a 5 x 4 canvas starting at (10, -2) that is (2, 1).
  Palette own{};
  own.bytes[3 * 4] = 40;
  own.bytes[3 * 5 + 1] = 50;
  const auto png =
      Encode(pidbuild::Build({2, 3, 13, 0, pidbuild::kSkipCoded | pidbuild::kEmbeddedPalette,
                              pidbuild::SkipCode({4, 5, 0, 4, 5, 5}, 2), own}),
             CommonCanvas{5, 4, 10, -2});
  const Rgba a = Opaque(own, 4), b = Opaque(own, 5), _ = kClear;
  EXPECT_EQ(Pixels(png), (std::vector<Rgba>{_, _, _, _, _,  //
                                            _, _, a, b, _,  //
                                            _, _, _, a, _,  //
                                            _, _, b, b, _}));
}

TEST_F(PngExport, GruntzPicturesAreKeyedByColour) {
  context.game = kGameGruntz;
  Palette& palette = *context.palette;
  std::copy_n("\xFF\x00\x84", 3, &palette.bytes[3 * 7]);  // the GRUNTZ key colour
  EXPECT_EQ(Pixels(Encode(pidbuild::Picture(3, 1, {0, 7, 8}, true))),
            (std::vector<Rgba>{Opaque(palette, 0), kClear, Opaque(palette, 8)}));
}

TEST_F(PngExport, PictureLargerThanTheCanvasIsReportedAndClipped) {
  context.palette.reset();  // grey
  ::testing::internal::CaptureStdout();
  const auto png = Encode(pidbuild::Picture(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, false),
                          CommonCanvas{2, 2, -1, -1});
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR\n");
  ASSERT_EQ(png.width, 2u);
  EXPECT_EQ(png.At(0, 0), (Rgba{1, 1, 1, 255}));
  EXPECT_EQ(png.At(1, 1), (Rgba{5, 5, 5, 255}));
}

TEST_F(PngExport, UnusablePicturesAreRefusedWithTheReason) {
  const std::int32_t huge = 100000;
  const std::tuple<std::vector<unsigned char>, CommonCanvas, std::string> cases[] = {
      {pidbuild::Picture(0, 4, {}, false), {}, "picture size 0 x 4 holds no pixels"},
      {pidbuild::Picture(huge, huge, {}, false),
       {},
       "picture size 100000 x 100000 is beyond the limit of 16777216 pixels and sides up to 16384"},
      {std::vector<unsigned char>(20, 1), {}, "only 20 bytes, too short for a picture header"},
      {pidbuild::Picture(4, 4, {}, false), CommonCanvas{huge, 10, 0, 0},
       "canvas size 100000 x 10 is beyond the limit of 16777216 pixels and sides up to 16384"}};
  for (const auto& [pid, canvas, reason] : cases) {
    const PngEncoding png = EncodePidAsPng(pid, context, canvas);
    EXPECT_EQ(png.refusal, reason);
    EXPECT_TRUE(png.bytes.empty());
  }
}

class ScriptedAnswers : public UserQuestions {
 public:
  explicit ScriptedAnswers(std::vector<ImageErrorAnswer> answers) : answers(std::move(answers)) {}
  OverwriteAnswer AskOverwrite(const std::string&) override { return OverwriteAnswer::No; }
  ImageErrorAnswer AskImageError(const std::string& text) override {
    asked.push_back(text);
    return answers.at(std::min(asked.size(), answers.size()) - 1);  // the last one repeats
  }
  void ReportFailure(const std::string&) override {}

  std::vector<ImageErrorAnswer> answers;
  std::vector<std::string> asked;
};

TEST(PngErrors, LibraryErrorsAreAskedAndTryAgainEncodesAnew) {
  const PngEncoding failed{{}, {}, {{1290, "could not write"}, {1291, "second"}}};
  const PngEncoding good{{1, 2, 3}, {}, {}};
  const std::string first = "#1290: could not write\nFile: A.PID",
                    second = "#1291: second\nFile: A.PID";
  using A = ImageErrorAnswer;
  const struct {
    std::vector<A> answers;
    int failures;  // encodings that fail before one succeeds
    std::vector<std::string> asked;
    bool paused, encoded;
  } cases[] = {
      {{A::Continue}, 9, {first, second}, false, false},
      {{A::Cancel, A::Continue}, 9, {first, second}, true, false},
      // Errors not asked before a retry are asked after the new attempt's own.
      {{A::TryAgain, A::Continue}, 2, {first, first, second, second}, false, false},
      {{A::TryAgain}, 1, {first}, false, true},
  };
  for (const auto& c : cases) {
    ScriptedAnswers questions(c.answers);
    std::atomic<bool> paused{false};
    int attempts = 0;
    std::string failure;
    const auto bytes = EncodeAsking(
        questions, paused, "A.PID", [&] { return attempts++ < c.failures ? failed : good; },
        failure);
    EXPECT_EQ(questions.asked, c.asked);
    EXPECT_EQ(paused, c.paused);
    EXPECT_EQ(bytes.has_value(), c.encoded);
    if (!c.encoded) {
      EXPECT_EQ(failure, "the image library failed: #1290 could not write");
    }
  }
}

TEST(PngExportThreads, ConcurrentEncodingsEachGetTheirOwnPicture) {
  constexpr int kThreads = 3, kPictures = 20;
  std::vector<std::thread> threads;
  std::vector<std::vector<unsigned char>> last(kThreads);
  std::vector<int> encoded(kThreads, 0);
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const auto pid =
          pidbuild::Picture(8 + t, 5, std::vector<std::uint8_t>(5 * (8 + t), 10 * t + 1), false);
      for (int i = 0; i < kPictures; ++i) {
        PngEncoding png = EncodePidAsPng(pid, ConversionContext{}, {});
        encoded[t] += png.Succeeded();
        last[t] = std::move(png.bytes);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (std::size_t t = 0; t < kThreads; ++t) {
    EXPECT_EQ(encoded[t], kPictures);
    const auto png = DecodePng(last[t]);
    EXPECT_EQ(png.width, 8 + t);
    EXPECT_EQ(png.At(3, 4)[0], 10 * t + 1);
  }
}

}  // namespace
