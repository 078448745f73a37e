// Archives the screen tests open, written into a scratch folder.
#pragma once

#include <filesystem>
#include <string>

namespace apptest {

// Root: README.TXT; CLAW/PALETTES/MAIN.PAL, CLAW/IMAGES/FRAME.PID,
// CLAW/SOUNDS/A.WAV and B.WAV, CLAW/LOWER/c.wav. Types in first-met order:
// TXT (1), PAL (1), PID (1), WAV (2), wav (1).
void WriteSmallArchive(const std::filesystem::path& path);
// Fourteen types in one folder; the last, LOG, has two files.
void WriteManyTypesArchive(const std::filesystem::path& path);
// count WAV files of size bytes each at the root.
void WriteSoundsArchive(const std::filesystem::path& path, int count, int size);

}  // namespace apptest
