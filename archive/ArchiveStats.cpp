#include "archive/ArchiveStats.h"

#include <system_error>

std::int32_t DetectedGame = kGameNone;

std::int64_t MeasureArchiveFile(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error)
    throw REZ::Exception(error.message(), REZ::kInvalidFormat, "ArchiveStats", __LINE__,
                         "cannot measure " + path.string());
  return static_cast<std::int64_t>(size);
}

void CollectTypeStats(std::vector<TypeStat>& stats, const REZ::Dir& folder) {
  for (const auto& child : folder.children) {
    if (!child->IsFile()) {
      CollectTypeStats(stats, static_cast<const REZ::Dir&>(*child));
      continue;
    }
    const auto extension = REZ::FileExtension(child->name);
    if (!extension) continue;
    bool found = false;
    for (auto& stat : stats) {
      if (stat.extension == *extension) {
        ++stat.count;
        stat.totalSize += child->size;
        found = true;
        break;
      }
    }
    if (!found) stats.push_back(TypeStat{1, *extension, child->size});
  }
}

namespace {

void AddPaletteEntries(const REZ::Dir& folder, const std::string& prefix,
                       std::vector<std::string>& paths) {
  for (const auto& child : folder.children) {
    const std::string path = prefix + child->name;
    if (child->IsDir())
      AddPaletteEntries(static_cast<const REZ::Dir&>(*child), path + "/", paths);
    else if (REZ::FileExtension(child->name) == std::optional<std::string>("PAL"))
      paths.push_back(path);
  }
}

}  // namespace

std::vector<std::string> PaletteEntryPaths(const REZ::Dir& root) {
  std::vector<std::string> paths;
  AddPaletteEntries(root, "", paths);
  return paths;
}

GameId GameOf(const REZ::Parser& parser) {
  for (const auto& child : parser.Root().children) {
    if (child->name == "GRUNTZ") return kGameGruntz;
    if (child->name == "CLAW") return kGameClaw;
    if (child->name == "ENEMIES") return kGameEnemies;
  }
  return kGameNone;
}

void DetectGame(const REZ::Parser& parser) {
  DetectedGame = GameOf(parser);
}

const char* GameName(std::int32_t game) {
  switch (game) {
    case kGameClaw:
      return "CLAW";
    case kGameEnemies:
      return "ENEMIES";
    case kGameGruntz:
      return "GRUNTZ";
    default:
      return "NONE";
  }
}

SelectedTotals ComputeSelectedTotals(const std::vector<TypeStat>& stats,
                                     const std::vector<bool>& selected) {
  SelectedTotals totals;
  for (std::size_t i = 0; i < stats.size() && i < selected.size(); ++i) {
    if (!selected[i]) continue;
    totals.fileCount += stats[i].count;
    totals.totalSize += stats[i].totalSize;
  }
  return totals;
}
