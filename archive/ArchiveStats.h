// Figures about an opened archive: per-type counts and sizes, and which game
// it belongs to.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/cREZ.h"

struct TypeStat {
  std::int32_t count = 0;
  std::string extension;
  std::int64_t totalSize = 0;
};

enum GameId : std::int32_t { kGameNone = 0, kGameClaw = 1, kGameEnemies = 2, kGameGruntz = 3 };

// Set by every archive opening for the wizard; read by the picture conversion.
extern std::int32_t DetectedGame;

// Size of the archive file in bytes; raises REZ::Exception when it cannot be measured.
std::int64_t MeasureArchiveFile(const std::filesystem::path& path);

// Adds the files of folder and of every folder below it, in first-met order.
void CollectTypeStats(std::vector<TypeStat>& stats, const REZ::Dir& folder);

// Archive paths ("/"-separated, archive bytes) of every PAL entry, depth first,
// so that a user can pick the palette for pictures that have none.
std::vector<std::string> PaletteEntryPaths(const REZ::Dir& root);

// The game an archive belongs to, from the names of the root's children.
GameId GameOf(const REZ::Parser& parser);
// Sets DetectedGame from the archive.
void DetectGame(const REZ::Parser& parser);
const char* GameName(std::int32_t game);

struct SelectedTotals {
  std::int64_t fileCount = 0;
  std::int64_t totalSize = 0;
};
// selected[i] tells whether stats[i] is ticked.
SelectedTotals ComputeSelectedTotals(const std::vector<TypeStat>& stats,
                                     const std::vector<bool>& selected);
