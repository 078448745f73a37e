#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <limits>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "convert/PidImage.h"
#include "convert/Placement.h"

namespace {

// Colour (255, 0, 132) at full alpha: GRUNTZ pictures mark transparency by
// colour, not by index.
constexpr std::uint32_t kGruntzTransparencyKey = 0xFFFF0084;

// DevIL keeps a bound image, an error stack and its write functions per
// process; every use goes through this lock, and the errors of one encoding
// are collected before it is released so that they cannot mix with another
// thread's.
std::mutex imageLibraryLock;
std::once_flag imageLibraryStarted;

void StartImageLibrary() {
  ilInit();
  iluInit();
  // Nothing of the start-up may be mistaken for an error of the first save.
  while (ilGetError() != IL_NO_ERROR) {
  }
}

// Where DevIL's PNG writer puts its bytes: a growing buffer with the seek and
// tell that the writer needs.
struct MemorySink {
  std::vector<unsigned char> bytes;
  std::size_t position = 0;
  bool outOfMemory = false;
};

MemorySink& SinkOf(ILHANDLE handle) {
  return *static_cast<MemorySink*>(handle);
}

ILint ILAPIENTRY SinkWrite(const void* data, ILuint size, ILuint count, ILHANDLE handle) {
  MemorySink& sink = SinkOf(handle);
  const std::size_t length = std::size_t(size) * std::size_t(count);
  try {
    if (sink.position + length > sink.bytes.size()) sink.bytes.resize(sink.position + length);
  } catch (const std::bad_alloc&) {
    sink.outOfMemory = true;
    return 0;
  }
  std::copy_n(static_cast<const unsigned char*>(data), length, sink.bytes.begin() + sink.position);
  sink.position += length;
  return static_cast<ILint>(count);
}

ILint ILAPIENTRY SinkPutc(ILubyte byte, ILHANDLE handle) {
  return SinkWrite(&byte, 1, 1, handle) == 1 ? byte : IL_EOF;
}

ILint ILAPIENTRY SinkSeek(ILHANDLE handle, ILint offset, ILint origin) {
  MemorySink& sink = SinkOf(handle);
  const std::int64_t base = origin == IL_SEEK_SET   ? 0
                            : origin == IL_SEEK_CUR ? std::int64_t(sink.position)
                                                    : std::int64_t(sink.bytes.size());
  if (base + offset < 0) return -1;
  sink.position = static_cast<std::size_t>(base + offset);
  return 0;
}

ILint ILAPIENTRY SinkTell(ILHANDLE handle) {
  return static_cast<ILint>(SinkOf(handle).position);
}

ILHANDLE ILAPIENTRY SinkOpen(ILconst_string) {
  return nullptr;
}

void ILAPIENTRY SinkClose(ILHANDLE) {}

std::string PictureSizeText(std::int64_t width, std::int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::string RefusalText(PidLoadStatus status, const PidImage& image, std::size_t size) {
  switch (status) {
    case PidLoadStatus::TooShort:
      return "only " + std::to_string(size) + " bytes, too short for a picture header";
    case PidLoadStatus::NoPixels:
      return "picture size " + PictureSizeText(image.width(), image.height()) + " holds no pixels";
    case PidLoadStatus::TooLarge:
      return "picture size " + PictureSizeText(image.width(), image.height()) + " is beyond " +
             PictureCapText();
    case PidLoadStatus::Loaded:
      break;
  }
  return "cannot be decoded";
}

std::int32_t ClampedPosition(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Hands the canvas to DevIL and encodes it as a PNG in memory.
PngEncoding EncodeCanvas(std::vector<std::uint8_t>& canvas, std::int32_t width,
                         std::int32_t height) {
  std::lock_guard<std::mutex> lock(imageLibraryLock);
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  // The canvas's first row is the picture's bottom row; DevIL takes the first
  // data row as the bottom of the image, so the PNG comes out upright.
  const bool made = ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 4,
                               IL_RGBA, IL_UNSIGNED_BYTE, canvas.data()) == IL_TRUE;
  // DevIL holds its own copy now.
  std::vector<std::uint8_t>().swap(canvas);
  return SavePngAndDelete(image, made);
}

}  // namespace

std::vector<ImageLibraryError> TakeImageLibraryErrors() {
  std::vector<ImageLibraryError> errors;
  // The stack holds at most a few dozen entries; the bound guards against a
  // library that never reports it is empty.
  for (int taken = 0; taken < 256; ++taken) {
    const ILenum code = ilGetError();
    if (code == IL_NO_ERROR) break;
    const char* text = iluErrorString(code);
    errors.push_back({code, text ? text : "unknown error"});
  }
  return errors;
}

PngEncoding SavePngAndDelete(unsigned image, bool save) {
  MemorySink sink;
  if (save) {
    ilSetWrite(SinkOpen, SinkClose, SinkPutc, SinkSeek, SinkTell, SinkWrite);
    // The count ilSaveF returns is no verdict (a failed save returns one
    // too): the error stack and the sink tell.
    ilSaveF(IL_PNG, &sink);
    ilResetWrite();
  }
  ilDeleteImage(image);
  PngEncoding encoding;
  encoding.libraryErrors = TakeImageLibraryErrors();
  if (sink.outOfMemory) throw std::bad_alloc();
  if (encoding.libraryErrors.empty() && sink.bytes.empty())
    encoding.libraryErrors.push_back({IL_INTERNAL_ERROR, "the image library saved nothing"});
  if (encoding.libraryErrors.empty()) encoding.bytes = std::move(sink.bytes);
  return encoding;
}

std::mutex& ImageLibraryLock() {
  return imageLibraryLock;
}

void InitImageLibrary() {
  std::call_once(imageLibraryStarted, [] {
    std::lock_guard<std::mutex> lock(imageLibraryLock);
    StartImageLibrary();
  });
}

PngEncoding EncodePidAsPng(const std::vector<unsigned char>& pid, const ConversionContext& context,
                           const CommonCanvas& commonCanvas) {
  InitImageLibrary();
  PngEncoding refused;
  PidImage image;
  if (context.game == kGameGruntz) {
    image.transparencyMode = TransparencyMode::ColourKey;
    image.transparencyKey = kGruntzTransparencyKey;
  }
  const PidLoadStatus status = image.loadFromMemory(
      pid.data(), pid.size(), context.palette ? &*context.palette : nullptr, false, false, true);
  if (status != PidLoadStatus::Loaded) {
    refused.refusal = RefusalText(status, image, pid.size());
    return refused;
  }
  const CanvasPlacement placement = placeOnCanvas(image.header(), commonCanvas);
  if (!WithinPictureCap(placement.canvasWidth, placement.canvasHeight)) {
    refused.refusal = "canvas size " +
                      PictureSizeText(placement.canvasWidth, placement.canvasHeight) +
                      " is beyond " + PictureCapText();
    return refused;
  }
  if (image.height() + placement.y > placement.canvasHeight) WriteDiagnostic("ERROR\n");

  std::vector<std::uint8_t> canvas(
      std::size_t(placement.canvasWidth) * std::size_t(placement.canvasHeight) * 4, 0);
  image.renderRgba(canvas, placement.canvasWidth, placement.canvasHeight,
                   ClampedPosition(placement.x), ClampedPosition(placement.y));
  return EncodeCanvas(canvas, placement.canvasWidth, placement.canvasHeight);
}
