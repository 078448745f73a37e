// The picture conversion as the extraction worker sees it.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "archive/cREZ.h"
#include "convert/Palette.h"
#include "convert/Placement.h"
#include "convert/UserQuestions.h"

// The palette that PID pictures without one of their own are drawn with;
// empty until an archive's palette entry is met. Used by the worker thread only.
extern std::optional<Palette> currentPalette;

// Makes folder/PALETTES/MAIN.PAL the current palette when there is one.
void switchPaletteFrom(const REZ::Dir& folder);

// The common canvas of the PID pictures directly in folder that have pixels
// within the size cap; none (0 x 0) without any, or when it would exceed the
// cap (then tooLarge is set).
CommonCanvas computeCommonCanvas(const REZ::Dir& folder);

enum class ConversionOutcome { Written, Failed };
// Decodes file and saves it as the PNG file target, placed on canvas (none:
// the picture's own size). Image library errors are put to
// questions.AskImageError (Cancel sets paused); an entry that cannot be
// decoded is reported with questions.ReportFailure.
ConversionOutcome convertPidToPng(const REZ::File& file, const std::filesystem::path& target,
                                  const CommonCanvas& canvas, UserQuestions& questions,
                                  std::atomic<bool>& paused);

// Once at start-up, before the first conversion: ilInit, iluInit, overwrite on.
void InitImageLibrary();
