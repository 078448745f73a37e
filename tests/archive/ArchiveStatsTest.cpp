// Per-type statistics, game detection, the totals of the ticked types, and
// the sample archives in examples/ that show them to newcomers.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "archive/ArchiveStats.h"
#include "support/TempDir.h"
#include "tools/SampleArchive.h"

using namespace rezbuild;

namespace {

std::string Describe(const std::vector<TypeStat>& stats) {
  std::string text;
  for (const auto& stat : stats)
    text += stat.extension + ":" + std::to_string(stat.count) + "/" +
            std::to_string(stat.totalSize) + " ";
  return text;
}

class ArchiveStats : public ::testing::Test {
 protected:
  const REZ::Parser& Load(const Node& root) {
    Write(dir / "stats.rez", root);
    parser = std::make_unique<REZ::Parser>(dir / "stats.rez");
    return *parser;
  }

  TempDir dir;
  std::unique_ptr<REZ::Parser> parser;
};

TEST_F(ArchiveStats, TypesInFirstMetOrderCaseSensitiveWithoutNamesLackingAType) {
  // A folder is walked when its record is met; "README." and "NOTES.." have no type.
  const auto filled = [](std::size_t size) { return std::vector<unsigned char>(size, 7); };
  const Node root = Folder(
      "ROOT", {Folder("SUB", {FileNode("X", "PID", filled(3))}), FileNode("A", "WAV", filled(100)),
               FileNode("README", "", filled(9)), FileNode("NOTES.", "", filled(9)),
               FileNode("B", "pid", filled(2)), FileNode("A.B", "WAV", filled(20))});
  // Collecting adds to what the list already holds.
  std::vector<TypeStat> stats = {TypeStat{3, "WAV", 30}};
  CollectTypeStats(stats, Load(root).Root());
  EXPECT_EQ(Describe(stats), "WAV:5/150 PID:1/3 pid:1/2 ");
}

TEST_F(ArchiveStats, GameIsTheFirstMatchingChildOfTheRoot) {
  const std::pair<Node, GameId> cases[] = {
      {Folder("ROOT", {Folder("CLAW"), Folder("GRUNTZ")}), kGameClaw},
      {Folder("ROOT", {Folder("STATES"), Folder("GRUNTZ"), Folder("CLAW")}), kGameGruntz},
      {Folder("ROOT", {Folder("ENEMIES")}), kGameEnemies},
      // Other case and deeper names detect nothing, and overwrite an earlier result.
      {Folder("ROOT", {Folder("Gruntz"), Folder("X", {Folder("CLAW")})}), kGameNone},
      {Folder("ROOT"), kGameNone}};
  for (const auto& [root, game] : cases) {
    DetectedGame = kGameGruntz;
    DetectGame(Load(root));
    EXPECT_EQ(DetectedGame, game);
  }
}

TEST(SelectedTotals, SumTheTickedTypesIn64Bits) {
  const std::vector<TypeStat> stats = {TypeStat{3, "PID", 300}, TypeStat{2, "WAV", 3'000'000'000},
                                       TypeStat{1, "TXT", 2'000'000'007}};
  EXPECT_EQ(ComputeSelectedTotals(stats, {false, false, false}).fileCount, 0);
  const SelectedTotals some = ComputeSelectedTotals(stats, {true, false, true});
  EXPECT_EQ(some.fileCount, 4);
  EXPECT_EQ(some.totalSize, 2'000'000'307);
  EXPECT_EQ(ComputeSelectedTotals(stats, {true, true, true}).totalSize, 5'000'000'307);
}

TEST(SampleArchive, CommittedFilesMatchTheGeneratorAndShowAGameAndItsPalette) {
  const struct {
    const char* file;
    Node tree;
    Layout layout;
    GameId game;
    const char* palette;
  } samples[] = {
      {"sample.rez", SampleArchive(), Layout::Plain, kGameClaw, "CLAW/PALETTES/MAIN.PAL"},
      {"retail-sample.rez", RetailSampleArchive(), Layout::Retail, kGameGruntz,
       "GRUNTZ/PALETTEZ/REDTOY.PAL"}};
  for (const auto& sample : samples) {
    const auto path = std::filesystem::path(TARNWICK_SOURCE_DIR) / "examples" / sample.file;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> committed{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(committed == Build(sample.tree, sample.layout))
        << sample.file << ": regenerate it with the regenerate_sample_archive target";
    REZ::Parser parser(path);
    EXPECT_EQ(GameOf(parser), sample.game);
    EXPECT_EQ(PaletteEntryPaths(parser.Root()), std::vector<std::string>{sample.palette});
    std::vector<TypeStat> stats;
    CollectTypeStats(stats, parser.Root());
    EXPECT_EQ(stats.size(), 4u) << Describe(stats);
  }
}

}  // namespace
