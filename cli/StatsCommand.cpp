#include <cstdio>
#include <nlohmann/json.hpp>

#include "archive/ArchiveStats.h"
#include "cli/ArchiveArgs.h"
#include "cli/Commands.h"
#include "cli/OpenArchive.h"
#include "extract/EntryNames.h"
#include "extract/Formatting.h"
#include "text/Windows1252.h"

namespace cli {

namespace {

// Names are decoded from the games' code page; only a path given on the command
// line can still hold bytes that are not UTF-8.
constexpr auto kJsonDump = nlohmann::ordered_json::error_handler_t::replace;

}  // namespace

int RunStats(const std::vector<std::string>& args) {
  ArchiveArgs parsed;
  if (!ParseArchiveArgs("stats", args, parsed)) return kExitUsage;
  auto parser = OpenArchive(parsed.archive);
  if (!parser) return kExitUsage;

  std::vector<TypeStat> stats;
  CollectTypeStats(stats, parser->Root());
  const std::int64_t size = static_cast<std::int64_t>(parser->ArchiveSize());
  const char* game = GameName(GameOf(*parser));
  const std::vector<std::string> palettes = PaletteEntryPaths(parser->Root());

  if (parsed.json) {
    nlohmann::ordered_json types = nlohmann::ordered_json::array();
    for (const auto& stat : stats)
      types.push_back({{"extension", text::Utf8FromWindows1252(stat.extension)},
                       {"count", stat.count},
                       {"totalSize", stat.totalSize}});
    nlohmann::ordered_json paletteList = nlohmann::ordered_json::array();
    for (const auto& path : palettes) paletteList.push_back(text::Utf8FromWindows1252(path));
    const nlohmann::ordered_json out = {{"archive", parsed.archive},
                                        {"size", size},
                                        {"game", game},
                                        {"types", types},
                                        {"palettes", paletteList}};
    std::printf("%s\n", out.dump(2, ' ', false, kJsonDump).c_str());
    return kExitOk;
  }

  std::printf("Archive: %s\nSize:    %s (%lld bytes)\nGame:    %s\n\n",
              ListedName(parsed.archive).c_str(), SizeText(size).c_str(),
              static_cast<long long>(size), game);
  std::printf("%-6s %8s  %s\n", "Type", "Files", "Size");
  std::int64_t files = 0, bytes = 0;
  for (const auto& stat : stats) {
    std::printf("%-6s %8d  %s\n", ListedName(text::Utf8FromWindows1252(stat.extension)).c_str(),
                stat.count, SizeText(stat.totalSize).c_str());
    files += stat.count;
    bytes += stat.totalSize;
  }
  std::printf("%-6s %8lld  %s\n", "Total", static_cast<long long>(files), SizeText(bytes).c_str());
  if (!palettes.empty()) {
    std::printf("\nPalettes (for extract --palette=P):\n");
    for (const auto& path : palettes)
      std::printf("  %s\n", ListedName(text::Utf8FromWindows1252(path)).c_str());
  }
  return kExitOk;
}

}  // namespace cli
