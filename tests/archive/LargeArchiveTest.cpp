// Archives of 2 GiB and more: offsets past the 2 GiB and 3 GiB marks, and sizes
// and totals that do not fit signed 32 bits. The archive is sparse, so it costs
// almost no disk space.
#include <gtest/gtest.h>

#include <fstream>

#include "archive/ArchiveStats.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

constexpr std::uint64_t kGiB = 1ull << 30;

Node PlacedFile(std::string name, std::string type, const std::string& text, std::uint64_t at) {
  Node node = FileNode(std::move(name), std::move(type), text);
  node.dataAt = at;
  return node;
}

// Points the record of the file named `recordName` at [offset, offset + size).
void PatchFileRecord(const std::filesystem::path& path, const std::string& recordName,
                     std::uint32_t offset, std::uint32_t size) {
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  std::string directory(4096, '\0');
  file.read(directory.data(), static_cast<std::streamsize>(directory.size()));
  const auto name = directory.find(recordName + std::string(2, '\0'));
  ASSERT_NE(name, std::string::npos);
  std::vector<unsigned char> fields;
  PutU32(fields, offset);
  PutU32(fields, size);
  file.clear();
  file.seekp(static_cast<std::streamoff>(name - 28 + 4));
  file.write(reinterpret_cast<const char*>(fields.data()), 8);
  ASSERT_TRUE(file.good());
}

std::string Text(const std::vector<unsigned char>& bytes) {
  return {bytes.begin(), bytes.end()};
}

class LargeArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(dir / "large.rez",
          Folder("ROOT",
                 {FileNode("SMALL", "TXT", "small"),
                  Folder("FAR", {PlacedFile("PAST2G", "DAT", "beyond two", 2 * kGiB + 17),
                                 PlacedFile("PAST3G", "DAT", "beyond three", 3 * kGiB + 5),
                                 PlacedFile("LAST", "DAT", "sixteen bytes!!!", 4 * kGiB - 16)}),
                  Folder("BIG", {FileNode("HUGE1", "BIN"), FileNode("HUGE2", "BIN")})}));
    // Two files of 1.75 GiB each, only claimed by their records.
    PatchFileRecord(dir / "large.rez", "HUGE1", 0x10000000, 0x70000000);
    PatchFileRecord(dir / "large.rez", "HUGE2", 0x20000000, 0x70000000);
    parser = std::make_unique<REZ::Parser>(dir / "large.rez");
  }

  const REZ::File& FileAt(std::string_view path) {
    const REZ::Element* node = parser->Root().GetElement(path);
    if (!node || !node->IsFile()) throw std::runtime_error("no file " + std::string(path));
    return static_cast<const REZ::File&>(*node);
  }

  TempDir dir;
  std::unique_ptr<REZ::Parser> parser;
};

TEST_F(LargeArchive, OffsetsSizesAndTotalsPastThe2GiBMark) {
  EXPECT_EQ(parser->ArchiveSize(), 4 * kGiB);
  EXPECT_EQ(MeasureArchiveFile(dir / "large.rez"), std::int64_t(4 * kGiB));

  const REZ::File& two = FileAt("FAR/PAST2G.DAT");
  EXPECT_EQ(two.offset, 2 * kGiB + 17);
  EXPECT_EQ(Text(two.GetData()), "beyond two");
  const REZ::File& three = FileAt("FAR/PAST3G.DAT");
  EXPECT_EQ(three.offset, 3 * kGiB + 5);
  EXPECT_EQ(three.size, 12u);
  EXPECT_EQ(Text(three.GetData()), "beyond three");
  EXPECT_EQ(Text(three.GetData(6)), "beyond");
  EXPECT_EQ(Text(FileAt("SMALL.TXT").GetData()), "small");

  // Data ending at the last 32-bit offset is read, and zero-filled beyond.
  const REZ::File& last = FileAt("FAR/LAST.DAT");
  EXPECT_EQ(last.offset, 4 * kGiB - 16);
  EXPECT_EQ(Text(last.GetData()), "sixteen bytes!!!");
  std::vector<unsigned char> expected = Bytes("sixteen bytes!!!");
  expected.resize(32, 0);
  EXPECT_EQ(last.GetData(32), expected);

  std::vector<TypeStat> stats;
  CollectTypeStats(stats, parser->Root());
  ASSERT_EQ(stats.size(), 3u);
  EXPECT_EQ(stats[2].extension, "BIN");
  EXPECT_EQ(stats[2].count, 2);
  EXPECT_EQ(stats[2].totalSize, 2 * std::int64_t(0x70000000));
  EXPECT_EQ(ComputeSelectedTotals(stats, {true, true, true}).totalSize,
            5 + 10 + 12 + 16 + 2 * std::int64_t(0x70000000));
}

}  // namespace
