// Shared by the conversion tests: archives on disk, scripted answers, and
// PNG files read back with libpng.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/cREZ.h"
#include "extract/UserQuestions.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

// Writes root as an archive into dir and opens it.
std::unique_ptr<REZ::Parser> OpenArchive(const TempDir& dir, const rezbuild::Node& root);
// The file at path below the archive's root; fails the test when missing.
const REZ::File& FileAt(const REZ::Parser& parser, const std::string& path);
const REZ::Dir& DirAt(const REZ::Parser& parser, const std::string& path);

class ScriptedQuestions : public UserQuestions {
 public:
  // Answers in turn; the last one repeats.
  std::vector<ImageErrorAnswer> imageErrorAnswers{ImageErrorAnswer::Continue};
  // Runs before each image-error answer, with the number of the question (1 = first).
  std::function<void(std::size_t)> beforeImageErrorAnswer;

  std::vector<std::string> imageErrors;
  std::vector<std::string> failures;
  std::vector<std::string> overwriteQuestions;

  OverwriteAnswer AskOverwrite(const std::string& text) override;
  ImageErrorAnswer AskImageError(const std::string& text) override;
  void ReportFailure(const std::string& message) override;
};

using Rgba = std::array<std::uint8_t, 4>;

struct RgbaPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // top row first, 4 bytes a pixel

  Rgba At(std::uint32_t x, std::uint32_t y) const;
};

// Reads an 8-bit RGBA PNG; throws when the file is not one.
RgbaPicture ReadPng(const std::filesystem::path& path);

// The pixel at column x of picture row y (from the top) in a bottom-up canvas.
Rgba CanvasAt(const std::vector<std::uint8_t>& canvas, std::int32_t canvasWidth,
              std::int32_t canvasHeight, std::int32_t x, std::int32_t y);
