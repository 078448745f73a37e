#include "convert/PcxToPng.h"

#include <IL/il.h>

#include <limits>
#include <mutex>
#include <new>
#include <vector>

#include "convert/ImageConversion.h"

namespace {

constexpr std::size_t kPcxHeaderBytes = 128;

unsigned Word(const unsigned char* p) {
  return unsigned(p[0]) | unsigned(p[1]) << 8;
}

// Why the header cannot be handed to the image library, or empty.
std::string CheckHeader(const unsigned char* data, std::size_t size) {
  if (size < kPcxHeaderBytes)
    return "only " + std::to_string(size) + " bytes, too short for a PCX header";
  if (data[0] != 0x0A) return "the file does not start with the PCX byte 0x0A";
  const std::int64_t width = std::int64_t(Word(data + 8)) - Word(data + 4) + 1;
  const std::int64_t height = std::int64_t(Word(data + 10)) - Word(data + 6) + 1;
  const std::string shown = std::to_string(width) + " x " + std::to_string(height);
  if (width < 1 || height < 1) return "picture size " + shown + " holds no pixels";
  if (width > kMaxPcxSide || height > kMaxPcxSide || width * height > kMaxPcxPixels)
    return "picture size " + shown + " is larger than the limit of " + std::to_string(kMaxPcxSide) +
           " a side and " + std::to_string(kMaxPcxPixels) + " pixels";
  const unsigned bitsPerPixel = data[3];
  const unsigned planes = data[65];
  const std::int64_t bytesPerLine = Word(data + 66);
  if (bitsPerPixel == 0 || bitsPerPixel > 8 || planes == 0 || planes > 4)
    return std::to_string(planes) + " planes of " + std::to_string(bitsPerPixel) +
           " bits are not a PCX picture";
  // The library decodes whole lines of every plane; their length is the
  // file's word, which must hold a row and not exceed the pixel budget.
  if (bytesPerLine * 8 < width * bitsPerPixel || bytesPerLine * planes * height > 4 * kMaxPcxPixels)
    return "a line of " + std::to_string(bytesPerLine) + " bytes does not fit a width of " +
           std::to_string(width);
  return {};
}

std::string ErrorsText(const std::vector<ImageLibraryError>& errors) {
  std::string text;
  for (const ImageLibraryError& error : errors)
    text += (text.empty() ? "" : "; ") + std::string("#") + std::to_string(error.code) + ": " +
            error.text;
  return text;
}

}  // namespace

ConvertedFiles ConvertPcxToPng(const std::string& entryName, const unsigned char* data,
                               std::size_t size) {
  ConvertedFiles result;
  if (std::string why = CheckHeader(data, size); !why.empty()) {
    result.error = "not a usable PCX picture: " + why;
    return result;
  }
  if (size > std::numeric_limits<ILuint>::max()) {
    result.error = "PCX of " + std::to_string(size) + " bytes is too large";
    return result;
  }
  InitImageLibrary();
  std::lock_guard<std::mutex> lock(ImageLibraryLock());
  TakeImageLibraryErrors();  // nothing earlier may pass for this picture's error
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  const bool loaded = ilLoadL(IL_PCX, data, static_cast<ILuint>(size)) == IL_TRUE;
  PngEncoding png;
  try {
    png = SavePngAndDelete(image, loaded);
  } catch (const std::bad_alloc&) {
    result.error = "not enough memory to convert it";
    return result;
  }
  if (!png.Succeeded()) {
    result.error = std::string(loaded ? "the image library could not encode it as PNG"
                                      : "the image library cannot read it") +
                   " (" + ErrorsText(png.libraryErrors) + ")";
    return result;
  }
  result.files.push_back({NameWithoutType(entryName, "PCX") + ".png", std::move(png.bytes)});
  return result;
}
