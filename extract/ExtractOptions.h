// What the user chose to extract: built by the options screen (or the CLI's
// arguments) and copied whole into the job.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/ArchiveStats.h"
#include "convert/Palette.h"

struct TypeChoice {
  std::string name;  // a file type of the archive, e.g. "PID"; compared case-sensitively
  bool selected = false;
};

struct ExtractOptions {
  // Files of the selected types; the worker counts up to this.
  std::int32_t fileCount = 0;
  bool convertPid = false;
  // Applied only together with convertPid.
  bool rectConversion = false;
  bool extractEmptyFolders = false;
  // The palette for pictures without one of their own where no folder's
  // PALETTES/MAIN.PAL gives one (the user's choice, e.g. a GRUNTZ PALETTEZ entry).
  std::optional<Palette> fallbackPalette;
  // XMI music as MIDI files, PCX pictures as PNG files.
  bool convertXmi = false;
  bool convertPcx = false;
  // One entry per type of the archive, in the order of its type statistics.
  std::vector<TypeChoice> types;
  // Set by the worker when the user answers the overwrite question with
  // "overwrite all"; read and written by the worker only once the job runs.
  bool overwriteAll = false;
};

// True when types holds a selected entry named exactly extension.
bool IsTypeSelected(const ExtractOptions& options, const std::string& extension);

// The options for the archive's types (in the order of its type statistics)
// with selected[i] telling whether types[i] is extracted; fileCount is the sum
// of the selected counts. overwriteAll starts false.
ExtractOptions MakeExtractOptions(const std::vector<TypeStat>& types,
                                  const std::vector<bool>& selected, bool convertPid,
                                  bool rectConversion, bool extractEmptyFolders);
