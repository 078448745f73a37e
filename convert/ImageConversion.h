// The picture conversion as the extraction worker sees it. It decodes and
// encodes in memory only: writing the result, and asking the user about
// failures, is the worker's.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "archive/ArchiveStats.h"
#include "archive/cREZ.h"
#include "convert/Palette.h"
#include "convert/Placement.h"

// The palette that PID pictures without one of their own are drawn with;
// empty until an archive's palette entry is met. Kept for the screens and
// tools that switch it; an extraction carries its own (ConversionContext).
extern std::optional<Palette> currentPalette;

// Makes folder/PALETTES/MAIN.PAL the current palette when there is one.
void switchPaletteFrom(const REZ::Dir& folder);
// The same for a palette the caller owns: current is replaced when folder
// holds a palette entry, and left alone otherwise.
void switchPaletteFrom(const REZ::Dir& folder, std::optional<Palette>& current);

// What one extraction converts with: the game its archive belongs to and the
// palette in force at the picture being converted.
struct ConversionContext {
  std::int32_t game = kGameNone;
  std::optional<Palette> palette;
};

// The common canvas of the PID pictures directly in folder that have pixels
// within the size cap; none (0 x 0) without any, or when it would exceed the
// cap (then tooLarge is set).
CommonCanvas computeCommonCanvas(const REZ::Dir& folder);

struct ImageLibraryError {
  unsigned code = 0;
  std::string text;
};

struct PngEncoding {
  // The whole PNG file; empty unless the conversion succeeded.
  std::vector<unsigned char> bytes;
  // Why the picture cannot be converted at all (bad or oversized data); the
  // image library was not reached.
  std::string refusal;
  // What the image library reported, in the order ilGetError gave it; any
  // entry means bytes is empty.
  std::vector<ImageLibraryError> libraryErrors;

  bool Succeeded() const { return refusal.empty() && libraryErrors.empty() && !bytes.empty(); }
};

// Decodes the PID file's bytes with context and encodes the picture as a PNG
// in memory, placed on canvas (none: the picture's own size). Safe to call from several threads
// (the image library is used under a lock). Throws std::bad_alloc when memory runs out.
PngEncoding EncodePidAsPng(const std::vector<unsigned char>& pid, const ConversionContext& context,
                           const CommonCanvas& canvas);

// Under ImageLibraryLock(), with image bound: encodes it as a PNG in memory
// (unless save is false: the picture could not be made), deletes it and
// collects every error the library reported since it was last asked. A
// failure always carries at least one error. Throws std::bad_alloc when
// memory runs out.
PngEncoding SavePngAndDelete(unsigned image, bool save);
// Under ImageLibraryLock(): empties the library's error stack, oldest first.
std::vector<ImageLibraryError> TakeImageLibraryErrors();

// Once at start-up, before the first conversion: ilInit, iluInit.
void InitImageLibrary();
// Held by every user of the image library (one bound image, one error stack).
std::mutex& ImageLibraryLock();
