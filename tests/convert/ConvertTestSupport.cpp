#include "ConvertTestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <stdexcept>

std::unique_ptr<REZ::Parser> OpenArchive(const TempDir& dir, const rezbuild::Node& root) {
  const auto path = dir / "test.rez";
  rezbuild::Write(path, root);
  return std::make_unique<REZ::Parser>(path);
}

const REZ::File& FileAt(const REZ::Parser& parser, const std::string& path) {
  const REZ::Element* element = parser.Root().GetElement(path);
  if (element == nullptr || !element->IsFile()) throw std::runtime_error("no file " + path);
  return static_cast<const REZ::File&>(*element);
}

const REZ::Dir& DirAt(const REZ::Parser& parser, const std::string& path) {
  const REZ::Element* element = parser.Root().GetElement(path);
  if (element == nullptr || !element->IsDir()) throw std::runtime_error("no folder " + path);
  return static_cast<const REZ::Dir&>(*element);
}

OverwriteAnswer ScriptedQuestions::AskOverwrite(const std::string& text) {
  overwriteQuestions.push_back(text);
  return OverwriteAnswer::No;
}

ImageErrorAnswer ScriptedQuestions::AskImageError(const std::string& text) {
  imageErrors.push_back(text);
  if (beforeImageErrorAnswer) beforeImageErrorAnswer(imageErrors.size());
  const std::size_t turn = std::min(imageErrors.size(), imageErrorAnswers.size()) - 1;
  return imageErrorAnswers.at(turn);
}

void ScriptedQuestions::ReportFailure(const std::string& message) {
  failures.push_back(message);
}

Rgba RgbaPicture::At(std::uint32_t x, std::uint32_t y) const {
  const std::size_t at = (std::size_t(y) * width + x) * 4;
  return {pixels.at(at), pixels.at(at + 1), pixels.at(at + 2), pixels.at(at + 3)};
}

RgbaPicture ReadPng(const std::filesystem::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str()))
    throw std::runtime_error("cannot read " + path.string() + ": " + image.message);
  // The file itself must be 8-bit RGBA, not something libpng converts to it.
  if (image.format != PNG_FORMAT_RGBA) {
    png_image_free(&image);
    throw std::runtime_error(path.string() + " is not 8-bit RGBA");
  }
  RgbaPicture picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr))
    throw std::runtime_error("cannot decode " + path.string() + ": " + image.message);
  return picture;
}

Rgba CanvasAt(const std::vector<std::uint8_t>& canvas, std::int32_t canvasWidth,
              std::int32_t canvasHeight, std::int32_t x, std::int32_t y) {
  const std::size_t at =
      (std::size_t(canvasHeight - 1 - y) * std::size_t(canvasWidth) + std::size_t(x)) * 4;
  return {canvas.at(at), canvas.at(at + 1), canvas.at(at + 2), canvas.at(at + 3)};
}
