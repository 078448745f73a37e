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

class ArchiveStats : public ::testing::Test {
 protected:
  const REZ::Parser& Load(const Node& root) {
    Write(dir / "stats.rez", root);
    parser = std::make_unique<REZ::Parser>(dir / "stats.rez");
    return *parser;
  }
  std::vector<TypeStat> Collect(const Node& root) {
    std::vector<TypeStat> stats;
    CollectTypeStats(stats, Load(root).Root());
    return stats;
  }

  TempDir dir;
  std::unique_ptr<REZ::Parser> parser;
};

void ExpectStat(const TypeStat& stat, const std::string& extension, std::int32_t count,
                std::int64_t totalSize) {
  EXPECT_EQ(stat.extension, extension);
  EXPECT_EQ(stat.count, count) << extension;
  EXPECT_EQ(stat.totalSize, totalSize) << extension;
}

TEST_F(ArchiveStats, TypesAppearInFirstMetOrderWithCountsAndSizes) {
  const auto stats =
      Collect(Folder("ROOT", {FileNode("A", "WAV", Filled(100)), FileNode("B", "PID", Filled(50)),
                              Folder("SUB", {FileNode("Z", "WAV", Filled(20))})}));
  ASSERT_EQ(stats.size(), 2u);
  ExpectStat(stats[0], "WAV", 2, 120);
  ExpectStat(stats[1], "PID", 1, 50);
}

TEST_F(ArchiveStats, AFolderIsWalkedWhenItsRecordIsMet) {
  const auto stats = Collect(Folder(
      "ROOT", {Folder("SUB", {FileNode("X", "PID", Filled(3))}), FileNode("Y", "WAV", Filled(4))}));
  ASSERT_EQ(stats.size(), 2u);
  ExpectStat(stats[0], "PID", 1, 3);
  ExpectStat(stats[1], "WAV", 1, 4);
}

TEST_F(ArchiveStats, FilesWithoutAnExtensionAreLeftOut) {
  Node readme = FileNode("README", "", Filled(9));  // stored as "README."
  Node dotted = FileNode("NOTES.", "", Filled(9));  // "NOTES.."
  const auto stats = Collect(Folder("ROOT", {readme, dotted, FileNode("A.B", "WAV", Filled(1))}));
  ASSERT_EQ(stats.size(), 1u);
  ExpectStat(stats[0], "WAV", 1, 1);
}

TEST_F(ArchiveStats, TypesDifferingInCaseAreDistinct) {
  const auto stats =
      Collect(Folder("ROOT", {FileNode("A", "PID", Filled(1)), FileNode("B", "pid", Filled(2)),
                              FileNode("C", "PID", Filled(4))}));
  ASSERT_EQ(stats.size(), 2u);
  ExpectStat(stats[0], "PID", 2, 5);
  ExpectStat(stats[1], "pid", 1, 2);
}

TEST_F(ArchiveStats, CollectingAddsToAnExistingList) {
  const REZ::Parser& loaded = Load(Folder("ROOT", {FileNode("A", "WAV", Filled(10))}));
  std::vector<TypeStat> stats = {TypeStat{3, "PID", 30}, TypeStat{1, "WAV", 5}};
  CollectTypeStats(stats, loaded.Root());
  ASSERT_EQ(stats.size(), 2u);
  ExpectStat(stats[0], "PID", 3, 30);
  ExpectStat(stats[1], "WAV", 2, 15);
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

TEST(GameName, NamesEachGame) {
  EXPECT_STREQ(GameName(kGameNone), "NONE");
  EXPECT_STREQ(GameName(kGameClaw), "CLAW");
  EXPECT_STREQ(GameName(kGameEnemies), "ENEMIES");
  EXPECT_STREQ(GameName(kGameGruntz), "GRUNTZ");
}

TEST(SelectedTotals, SumTheTickedTypes) {
  const std::vector<TypeStat> stats = {TypeStat{3, "PID", 300}, TypeStat{2, "WAV", 2000},
                                       TypeStat{1, "TXT", 7}};
  const SelectedTotals none = ComputeSelectedTotals(stats, {false, false, false});
  EXPECT_EQ(none.fileCount, 0);
  EXPECT_EQ(none.totalSize, 0);
  const SelectedTotals some = ComputeSelectedTotals(stats, {true, false, true});
  EXPECT_EQ(some.fileCount, 4);
  EXPECT_EQ(some.totalSize, 307);
  const SelectedTotals big = ComputeSelectedTotals(
      {TypeStat{2, "WAV", 3'000'000'000}, TypeStat{1, "PID", 2'000'000'000}}, {true, true});
  EXPECT_EQ(big.totalSize, 5'000'000'000);
}

TEST(MeasureArchiveFile, SizeOfTheFileOrAnError) {
  TempDir dir;
  WriteBytes(dir / "ten", std::vector<unsigned char>(10, 0));
  EXPECT_EQ(MeasureArchiveFile(dir / "ten"), 10);
  EXPECT_THROW(MeasureArchiveFile(dir / "missing"), REZ::Exception);
}

}  // namespace
