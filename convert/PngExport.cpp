#include <IL/il.h>
#include <IL/ilu.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <limits>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "archive/ArchiveStats.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "convert/PidImage.h"
#include "convert/Placement.h"

namespace {

// Colour (255, 0, 132) at full alpha: GRUNTZ pictures mark transparency by
// colour, not by index.
constexpr std::uint32_t kGruntzTransparencyKey = 0xFFFF0084;

// DevIL keeps a bound image and an error stack per process; every use goes
// through this lock, and the errors of one save are collected before it is
// released so that they cannot mix with another thread's.
std::mutex imageLibraryLock;
std::once_flag imageLibraryStarted;

struct ImageLibraryError {
  ILenum code = IL_NO_ERROR;
  std::string text;
};

struct Attempt {
  bool written = false;
  // In the order ilGetError gave them.
  std::vector<ImageLibraryError> errors;
};

void StartImageLibrary() {
  ilInit();
  iluInit();
  ilEnable(IL_FILE_OVERWRITE);
  // Nothing of the start-up may be mistaken for an error of the first save.
  while (ilGetError() != IL_NO_ERROR) {
  }
}

std::string SizeText(std::int64_t width, std::int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::string RefusalText(PidLoadStatus status, const PidImage& image, std::size_t size) {
  switch (status) {
    case PidLoadStatus::TooShort:
      return "only " + std::to_string(size) + " bytes, too short for a picture header";
    case PidLoadStatus::NoPixels:
      return "picture size " + SizeText(image.width(), image.height()) + " holds no pixels";
    case PidLoadStatus::TooLarge:
      return "picture size " + SizeText(image.width(), image.height()) + " is beyond " +
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

// Hidden and unique to this process and save; it ends like the final name so
// that DevIL picks the same format from it.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  // An archive entry may carry such a name too; never save over a file that is there.
  std::error_code ignored;
  for (;;) {
    auto candidate =
        target.parent_path() / (".~tarnwick-" + std::to_string(getpid()) + "-" +
                                std::to_string(counter++) + "-" + target.filename().string());
    if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, ignored)))
      return candidate;
  }
}

// Hands the canvas to DevIL and saves it to a temporary name; the caller renames.
Attempt SaveCanvas(std::vector<std::uint8_t>& canvas, std::int32_t width, std::int32_t height,
                   const std::filesystem::path& temporary) {
  Attempt attempt;
  std::lock_guard<std::mutex> lock(imageLibraryLock);
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  // The canvas's first row is the picture's bottom row; DevIL takes the first
  // data row as the bottom of the image, so the PNG comes out upright.
  bool saved = ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 4, IL_RGBA,
                          IL_UNSIGNED_BYTE, canvas.data()) == IL_TRUE;
  // DevIL holds its own copy now.
  std::vector<std::uint8_t>().swap(canvas);
  if (saved) saved = ilSaveImage(temporary.c_str()) == IL_TRUE;
  ilDeleteImage(image);
  attempt.written = saved;
  // The stack holds at most a few dozen entries; the bound guards against a
  // library that never reports it is empty.
  for (int taken = 0; taken < 256; ++taken) {
    const ILenum code = ilGetError();
    if (code == IL_NO_ERROR) break;
    const char* text = iluErrorString(code);
    attempt.errors.push_back({code, text ? text : "unknown error"});
  }
  return attempt;
}

Attempt ConvertOnce(const REZ::File& file, const std::filesystem::path& target,
                    const CommonCanvas& commonCanvas, UserQuestions& questions) {
  const auto refuse = [&](const std::string& why) {
    questions.ReportFailure(file.name + ": " + why + "; skipped");
    return Attempt{};
  };
  try {
    // The header alone tells whether the picture may be decoded at all: a
    // refused one is not read whole.
    const auto head = file.GetData(std::min<std::uint32_t>(file.size, PidHeader::kBytes));
    const auto header = readPidHeader(head.data(), head.size());
    if (header && header->width >= 1 && header->height >= 1 &&
        !WithinPictureCap(header->width, header->height))
      return refuse("picture size " + SizeText(header->width, header->height) + " is beyond " +
                    PictureCapText());
    const std::vector<unsigned char> bytes = file.GetData();

    PidImage image;
    if (DetectedGame == kGameGruntz) {
      image.transparencyMode = TransparencyMode::ColourKey;
      image.transparencyKey = kGruntzTransparencyKey;
    }
    const PidLoadStatus status =
        image.loadFromMemory(bytes.data(), bytes.size(),
                             currentPalette ? &*currentPalette : nullptr, false, false, true);
    if (status != PidLoadStatus::Loaded) return refuse(RefusalText(status, image, bytes.size()));

    const CanvasPlacement placement = placeOnCanvas(image.header(), commonCanvas);
    if (!WithinPictureCap(placement.canvasWidth, placement.canvasHeight))
      return refuse("canvas size " + SizeText(placement.canvasWidth, placement.canvasHeight) +
                    " is beyond " + PictureCapText());
    if (image.height() + placement.y > placement.canvasHeight) WriteDiagnostic("ERROR\n");

    std::vector<std::uint8_t> canvas(
        std::size_t(placement.canvasWidth) * std::size_t(placement.canvasHeight) * 4, 0);
    image.renderRgba(canvas, placement.canvasWidth, placement.canvasHeight,
                     ClampedPosition(placement.x), ClampedPosition(placement.y));

    const std::filesystem::path temporary = TemporaryPathFor(target);
    Attempt attempt = SaveCanvas(canvas, placement.canvasWidth, placement.canvasHeight, temporary);
    std::error_code ignored;
    if (!attempt.written) {
      // A failed save may leave a partial file behind.
      std::filesystem::remove(temporary, ignored);
      if (attempt.errors.empty())
        questions.ReportFailure(file.name + ": the image library could not save " +
                                target.string());
      return attempt;
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
      std::filesystem::remove(temporary, ignored);
      questions.ReportFailure(file.name + ": cannot write " + target.string() + ": " +
                              renameError.message());
      attempt.written = false;
    }
    return attempt;
  } catch (const REZ::Exception& error) {
    return refuse(error.message + (error.detail.empty() ? "" : " (" + error.detail + ")"));
  } catch (const std::bad_alloc&) {
    return refuse("not enough memory to convert it");
  }
}

}  // namespace

void InitImageLibrary() {
  std::call_once(imageLibraryStarted, [] {
    std::lock_guard<std::mutex> lock(imageLibraryLock);
    StartImageLibrary();
  });
}

ConversionOutcome convertPidToPng(const REZ::File& file, const std::filesystem::path& target,
                                  const CommonCanvas& canvas, UserQuestions& questions,
                                  std::atomic<bool>& paused) {
  InitImageLibrary();

  // Errors not answered before a Try Again are asked after the new attempt's
  // own, which is where DevIL's error stack would have kept them.
  std::deque<ImageLibraryError> unanswered;
  for (;;) {
    const Attempt attempt = ConvertOnce(file, target, canvas, questions);
    unanswered.insert(unanswered.begin(), attempt.errors.begin(), attempt.errors.end());

    bool tryAgain = false;
    while (!unanswered.empty() && !tryAgain) {
      const ImageLibraryError error = unanswered.front();
      unanswered.pop_front();
      const std::string text =
          "#" + std::to_string(error.code) + ": " + error.text + "\nFile: " + file.name;
      switch (questions.AskImageError(text)) {
        case ImageErrorAnswer::TryAgain:
          tryAgain = true;
          break;
        case ImageErrorAnswer::Cancel:
          paused = true;
          break;
        case ImageErrorAnswer::Continue:
          break;
      }
    }
    if (!tryAgain) return attempt.written ? ConversionOutcome::Written : ConversionOutcome::Failed;
  }
}
