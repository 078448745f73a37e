#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "ConvertTestSupport.h"
#include "archive/ArchiveStats.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "extract/EntryNames.h"
#include "support/PidBuilder.h"

namespace fs = std::filesystem;
using rezbuild::FileNode;
using rezbuild::Folder;

namespace {

const Rgba kClear{0, 0, 0, 0};

Rgba Opaque(const Palette& palette, int index) {
  return {palette.Red(index), palette.Green(index), palette.Blue(index), 255};
}

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

CommonCanvas Canvas(std::int32_t width, std::int32_t height, std::int64_t left, std::int64_t top) {
  CommonCanvas canvas;
  canvas.width = width;
  canvas.height = height;
  canvas.left = left;
  canvas.top = top;
  return canvas;
}

std::vector<Rgba> Row(const RgbaPicture& png, std::uint32_t y) {
  std::vector<Rgba> row;
  for (std::uint32_t x = 0; x < png.width; ++x) row.push_back(png.At(x, y));
  return row;
}

class PngExport : public ::testing::Test {
 protected:
  void SetUp() override {
    InitImageLibrary();
    currentPalette.reset();
    DetectedGame = kGameNone;
    SetDiagnosticsEnabled(true);
    out = dir / "out";
    fs::create_directory(out);
  }
  void TearDown() override {
    currentPalette.reset();
    DetectedGame = kGameNone;
  }

  // An archive with the given entries in folder "F".
  const REZ::Parser& Archive(std::vector<rezbuild::Node> entries) {
    parser = OpenArchive(dir, Folder("", {Folder("F", std::move(entries))}));
    return *parser;
  }

  ConversionOutcome Convert(const std::string& entry, const CommonCanvas& canvas = {}) {
    return convertPidToPng(FileAt(*parser, "F/" + entry), out / PngNameOf(entry), canvas, questions,
                           paused);
  }

  TempDir dir;
  fs::path out;
  std::unique_ptr<REZ::Parser> parser;
  ScriptedQuestions questions;
  std::atomic<bool> paused{false};
};

}  // namespace

TEST_F(PngExport, WrittenPngHoldsThePictureUprightPixelForPixel) {
  // 3 x 2, repeat coded: top row 1 0 2, bottom row 3 3 0.
  currentPalette = pidbuild::DistinctPalette();
  Archive({FileNode("FRAME001", "PID", pidbuild::Picture(3, 2, {1, 0, 2, 3, 3, 0}, false))});
  ASSERT_EQ(Convert("FRAME001.PID"), ConversionOutcome::Written);
  const auto png = ReadPng(out / "FRAME001.png");
  ASSERT_EQ(png.width, 3u);
  ASSERT_EQ(png.height, 2u);
  const Palette& palette = *currentPalette;
  EXPECT_EQ(Row(png, 0), (std::vector<Rgba>{Opaque(palette, 1), kClear, Opaque(palette, 2)}));
  EXPECT_EQ(Row(png, 1), (std::vector<Rgba>{Opaque(palette, 3), Opaque(palette, 3), kClear}));
  EXPECT_TRUE(questions.failures.empty());
  EXPECT_TRUE(questions.imageErrors.empty());
}

TEST_F(PngExport, SkipCodedPictureWithItsOwnPaletteOnARectCanvas) {
  // 2 x 3 with its own palette, offsetX 13: its box starts at 13 - 2 / 2 = 12,
  // 0 - 3 / 2 = -1; on a 30 x 20 canvas starting at (-8, -10) that is (20, 9).
  Palette own{};
  own.bytes[3 * 4] = 40;
  own.bytes[3 * 5 + 1] = 50;
  currentPalette = pidbuild::DistinctPalette();
  Archive({FileNode("ANIM", "PID",
                    pidbuild::Build({2, 3, 13, 0, pidbuild::kSkipCoded | pidbuild::kEmbeddedPalette,
                                     pidbuild::SkipCode({4, 5, 0, 4, 5, 5}, 2), own}))});
  ASSERT_EQ(Convert("ANIM.PID", Canvas(30, 20, -8, -10)), ConversionOutcome::Written);
  const auto png = ReadPng(out / "ANIM.png");
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
  DetectedGame = kGameGruntz;
  Palette palette = pidbuild::DistinctPalette();
  palette.bytes[3 * 7] = 255;
  palette.bytes[3 * 7 + 1] = 0;
  palette.bytes[3 * 7 + 2] = 132;
  currentPalette = palette;
  Archive({FileNode("G", "PID", pidbuild::Picture(3, 1, {0, 7, 8}, true))});
  ASSERT_EQ(Convert("G.PID"), ConversionOutcome::Written);
  EXPECT_EQ(Row(ReadPng(out / "G.png"), 0),
            (std::vector<Rgba>{Opaque(palette, 0), kClear, Opaque(palette, 8)}));
}

TEST_F(PngExport, PictureTallerThanTheCanvasIsReportedAndClipped) {
  // 3 x 3 on a 2 x 2 canvas: the top-left 2 x 2 of the picture.
  Archive({FileNode("BIG", "PID", pidbuild::Picture(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, false))});
  ::testing::internal::CaptureStdout();
  const auto outcome = Convert("BIG.PID", Canvas(2, 2, -1, -1));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR\n");
  ASSERT_EQ(outcome, ConversionOutcome::Written);
  const auto png = ReadPng(out / "BIG.png");
  ASSERT_EQ(png.width, 2u);
  ASSERT_EQ(png.height, 2u);
  EXPECT_EQ(png.At(0, 0), (Rgba{1, 1, 1, 255}));
  EXPECT_EQ(png.At(1, 1), (Rgba{5, 5, 5, 255}));
}

TEST_F(PngExport, UnusablePicturesAreReportedAndNothingIsWritten) {
  const std::int32_t huge = 100000;
  Archive({FileNode("EMPTY", "PID", pidbuild::Picture(0, 4, {}, false)),
           FileNode("HUGE", "PID", pidbuild::Picture(huge, huge, {}, false)),
           FileNode("SHORT", "PID", std::vector<unsigned char>(20, 1)),
           FileNode("FINE", "PID", pidbuild::Picture(4, 4, {}, false))});
  EXPECT_EQ(Convert("EMPTY.PID"), ConversionOutcome::Failed);
  EXPECT_EQ(Convert("HUGE.PID"), ConversionOutcome::Failed);
  EXPECT_EQ(Convert("SHORT.PID"), ConversionOutcome::Failed);
  // A common canvas no sane folder has.
  EXPECT_EQ(Convert("FINE.PID", Canvas(huge, 10, 0, 0)), ConversionOutcome::Failed);
  ASSERT_EQ(questions.failures.size(), 4u);
  EXPECT_EQ(questions.failures[0], "EMPTY.PID: picture size 0 x 4 holds no pixels; skipped");
  EXPECT_EQ(questions.failures[1],
            "HUGE.PID: picture size 100000 x 100000 is beyond the limit of 16777216 pixels and "
            "sides up to 16384; skipped");
  EXPECT_EQ(questions.failures[2],
            "SHORT.PID: only 20 bytes, too short for a picture header; "
            "skipped");
  EXPECT_EQ(questions.failures[3],
            "FINE.PID: canvas size 100000 x 10 is beyond the limit of 16777216 pixels and sides "
            "up to 16384; skipped");
  EXPECT_TRUE(FolderNames(out).empty());
  EXPECT_TRUE(questions.imageErrors.empty());
}

TEST_F(PngExport, ImageLibraryErrorAnsweredContinueGoesOnAndCancelPauses) {
  Archive({FileNode("A", "PID", pidbuild::Picture(1, 1, {1}, false))});
  out = dir / "missing";
  for (const ImageErrorAnswer answer : {ImageErrorAnswer::Continue, ImageErrorAnswer::Cancel}) {
    const bool cancel = answer == ImageErrorAnswer::Cancel;
    SCOPED_TRACE(cancel ? "Cancel" : "Continue");
    questions.imageErrors.clear();
    questions.imageErrorAnswers = {answer};
    EXPECT_EQ(Convert("A.PID"), ConversionOutcome::Failed);
    ASSERT_FALSE(questions.imageErrors.empty());
    for (const auto& text : questions.imageErrors) {
      EXPECT_EQ(text.rfind("#", 0), 0u) << text;
      EXPECT_NE(text.find(": "), std::string::npos) << text;
      EXPECT_EQ(text.substr(text.size() - 12), "\nFile: A.PID") << text;
    }
    EXPECT_EQ(questions.imageErrors.front().rfind("#1290: ", 0), 0u)
        << questions.imageErrors.front();
    EXPECT_EQ(paused, cancel);
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST_F(PngExport, ImageLibraryErrorAnsweredTryAgainConvertsAgain) {
  Archive({FileNode("A", "PID", pidbuild::Picture(2, 1, {1, 2}, false))});
  out = dir / "missing";
  // The first retry fails the same way and asks again; the user mends the
  // cause before the second.
  questions.imageErrorAnswers = {ImageErrorAnswer::TryAgain, ImageErrorAnswer::TryAgain,
                                 ImageErrorAnswer::Continue};
  questions.beforeImageErrorAnswer = [this](std::size_t turn) {
    if (turn == 2) fs::create_directory(out);
  };
  EXPECT_EQ(Convert("A.PID"), ConversionOutcome::Written);
  ASSERT_EQ(questions.imageErrors.size(), 2u);
  EXPECT_EQ(questions.imageErrors[1], questions.imageErrors[0]);
  EXPECT_EQ(ReadPng(out / "A.png").At(1, 0), (Rgba{2, 2, 2, 255}));
  EXPECT_FALSE(paused);
  EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"A.png"}));
}

TEST_F(PngExport, TargetThatCannotBeReplacedIsReportedAndLeavesNoTemporaryFile) {
  Archive({FileNode("A", "PID", pidbuild::Picture(1, 1, {1}, false))});
  fs::create_directory(out / "A.png");
  fs::create_directory(out / "A.png" / "inside");
  EXPECT_EQ(Convert("A.PID"), ConversionOutcome::Failed);
  ASSERT_EQ(questions.failures.size(), 1u);
  EXPECT_EQ(questions.failures[0].rfind("A.PID: cannot write ", 0), 0u) << questions.failures[0];
  EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"A.png"}));
  EXPECT_TRUE(fs::is_directory(out / "A.png" / "inside"));
}

TEST(PngExportThreads, ConcurrentConversionsEachGetTheirOwnPicture) {
  InitImageLibrary();
  currentPalette.reset();
  DetectedGame = kGameNone;
  TempDir dir;
  constexpr int kThreads = 3;
  constexpr int kPictures = 20;
  std::vector<std::thread> threads;
  std::vector<int> written(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Each thread its own archive: a parser belongs to one thread.
      std::vector<rezbuild::Node> entries;
      for (int i = 0; i < kPictures; ++i)
        entries.push_back(FileNode(
            "P" + std::to_string(i), "PID",
            pidbuild::Picture(
                8 + t, 5,
                std::vector<std::uint8_t>(std::size_t(5 * (8 + t)), std::uint8_t(10 * t + 1)),
                false)));
      const fs::path folder = dir / ("t" + std::to_string(t));
      fs::create_directory(folder);
      rezbuild::Write(folder / "a.rez", Folder("", std::move(entries)));
      REZ::Parser parser(folder / "a.rez");
      ScriptedQuestions questions;
      std::atomic<bool> paused{false};
      for (const auto& child : parser.Root().children)
        if (convertPidToPng(static_cast<const REZ::File&>(*child), folder / PngNameOf(child->name),
                            {}, questions, paused) == ConversionOutcome::Written)
          ++written[std::size_t(t)];
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(written[std::size_t(t)], kPictures);
    const auto png = ReadPng(dir / ("t" + std::to_string(t)) / "P7.png");
    EXPECT_EQ(png.width, std::uint32_t(8 + t));
    EXPECT_EQ(png.At(3, 4)[0], 10 * t + 1);
  }
}
