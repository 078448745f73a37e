// The picture conversion as the extraction worker sees it.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "archive/cREZ.h"
#include "convert/Palette.h"
#include "convert/UserQuestions.h"

// The palette that PID pictures without one of their own are drawn with;
// empty until an archive's palette entry is met. Used by the worker thread only.
extern std::optional<Palette> currentPalette;

// Makes folder/PALETTES/MAIN.PAL the current palette when there is one.
void switchPaletteFrom(const REZ::Dir& folder);

struct CanvasSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};
// The common canvas of the PID pictures directly in folder; 0 x 0 without any.
CanvasSize computeCommonCanvas(const REZ::Dir& folder);

enum class ConversionOutcome { Written, Failed };
// Decodes file and saves it as <outputFolder>/<name with "PID" -> "png">.
// A canvas below 1 in either direction means the picture's own size. Image
// library errors are put to questions.AskImageError (Cancel sets paused); an
// entry that cannot be decoded is reported with questions.ReportFailure.
ConversionOutcome convertPidToPng(const REZ::File& file, const std::filesystem::path& outputFolder,
                                  std::int32_t canvasWidth, std::int32_t canvasHeight,
                                  UserQuestions& questions, std::atomic<bool>& paused);

// Once at start-up, before the first conversion: ilInit, iluInit, overwrite on.
void InitImageLibrary();
