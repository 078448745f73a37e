// Per-type statistics, game detection and the totals of the ticked types.
#include <gtest/gtest.h>

#include "archive/ArchiveStats.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

std::vector<unsigned char> Filled(std::size_t size) {
  return std::vector<unsigned char>(size, 7);
}

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
  const Node root = Folder(
      "ROOT", {Folder("SUB", {FileNode("X", "PID", Filled(3))}), FileNode("A", "WAV", Filled(100)),
               FileNode("README", "", Filled(9)), FileNode("NOTES.", "", Filled(9)),
               FileNode("B", "pid", Filled(2)), FileNode("A.B", "WAV", Filled(20))});
  std::vector<TypeStat> stats;
  CollectTypeStats(stats, Load(root).Root());
  EXPECT_EQ(Describe(stats), "PID:1/3 WAV:2/120 pid:1/2 ");

  // Collecting adds to what the list already holds.
  stats = {TypeStat{3, "WAV", 30}};
  CollectTypeStats(stats, Load(root).Root());
  EXPECT_EQ(Describe(stats), "WAV:5/150 PID:1/3 pid:1/2 ");
}

TEST_F(ArchiveStats, GameIsTheFirstMatchingChildOfTheRoot) {
  DetectGame(Load(Folder("ROOT", {Folder("CLAW"), Folder("GRUNTZ")})));
  EXPECT_EQ(DetectedGame, kGameClaw);
  DetectGame(Load(Folder("ROOT", {Folder("STATES"), Folder("GRUNTZ"), Folder("CLAW")})));
  EXPECT_EQ(DetectedGame, kGameGruntz);
  DetectGame(Load(Folder("ROOT", {Folder("ENEMIES")})));
  EXPECT_EQ(DetectedGame, kGameEnemies);
  // Other case, deeper names and empty archives detect nothing, and overwrite
  // what an earlier archive set.
  DetectGame(Load(Folder("ROOT", {Folder("Gruntz"), Folder("X", {Folder("CLAW")})})));
  EXPECT_EQ(DetectedGame, kGameNone);
  DetectedGame = kGameGruntz;
  DetectGame(Load(Folder("ROOT")));
  EXPECT_EQ(DetectedGame, kGameNone);
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

}  // namespace
