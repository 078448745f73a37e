// Operations on a loaded archive: path lookup, reading file bytes (also past
// the 2 GiB mark), name helpers.
#include <gtest/gtest.h>

#include <tuple>

#include "archive/ArchiveStats.h"
#include "archive/cREZ.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

std::string Text(const std::vector<unsigned char>& bytes) {
  return {bytes.begin(), bytes.end()};
}

class ArchiveTree : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(dir / "tree.rez",
          Folder("ROOT", {Folder("PALETTES", {FileNode("MAIN", "PAL", "palette bytes"),
                                              FileNode("MAIN", "PAL", "second copy")}),
                          Folder("LEVEL1", {Folder("IMAGES", {FileNode("A", "PID", "aaa"),
                                                              FileNode("EMPTY", "PID")})}),
                          FileNode("TOP", "TXT", "top"),
                          Folder(std::string(62, 'L'), {FileNode("IN", "TXT", "in long")}),
                          Folder(std::string(63, 'T'), {FileNode("IN", "TXT", "in too long")}),
                          FileNode(std::string(100, 'F'), "TXT", "long file name")}));
    parser = std::make_unique<REZ::Parser>(dir / "tree.rez");
  }

  const REZ::Element* Find(std::string_view path) const { return parser->Root().GetElement(path); }
  const REZ::File& FileAt(std::string_view path) const {
    return static_cast<const REZ::File&>(*Find(path));
  }

  TempDir dir;
  std::unique_ptr<REZ::Parser> parser;
};

TEST_F(ArchiveTree, PathLookup) {
  const REZ::Element* palette = Find("PALETTES/MAIN.PAL");
  ASSERT_NE(palette, nullptr);
  // Duplicate names resolve to the first in record order.
  EXPECT_EQ(Text(FileAt("PALETTES/MAIN.PAL").GetData()), "palette bytes");
  const std::string l62(62, 'L'), t63(63, 'T'), f100(100, 'F');
  for (const std::string& path :
       std::vector<std::string>{"\\PALETTES\\MAIN.PAL", "/PALETTES/MAIN.PAL", "PALETTES\\MAIN.PAL",
                                "PALETTES//MAIN.PAL"})  // absorbed by the next level
    EXPECT_EQ(Find(path), palette) << path;
  for (const std::string& path :
       std::vector<std::string>{"//PALETTES/MAIN.PAL",  // only one leading separator is dropped
                                "palettes/main.pal", "PALETTES/main.pal", "PALETTES/MAIN.PAL/X",
                                "TOP.TXT/X", "PALETTES/", "LEVEL2/A.PID", "LEVEL1/IMAGES/B.PID", "",
                                t63 + "/IN.TXT"})  // inner segments: at most 62 characters
    EXPECT_EQ(Find(path), nullptr) << path;
  for (const std::string& path : std::vector<std::string>{"TOP.TXT", "LEVEL1/IMAGES/A.PID",
                                                          l62 + "/IN.TXT", t63, f100 + ".TXT"})
    EXPECT_NE(Find(path), nullptr) << path;
  const auto* level = static_cast<const REZ::Dir*>(Find("LEVEL1"));
  EXPECT_EQ(level->GetElement("IMAGES/A.PID"), Find("LEVEL1/IMAGES/A.PID"));
  EXPECT_EQ(level->GetElement("PALETTES"), nullptr);
}

TEST_F(ArchiveTree, ReadsInterleaveAndFirstBytesRunOnOrAreZeroFilled) {
  const REZ::File& a = FileAt("LEVEL1/IMAGES/A.PID");
  const REZ::File& top = FileAt("TOP.TXT");
  std::istream& stream = parser->GetStream();
  stream.seekg(77);
  EXPECT_EQ(Text(a.GetData()), "aaa");
  EXPECT_EQ(Text(top.GetData()), "top");
  EXPECT_EQ(Text(a.GetData(2)), "aa");
  EXPECT_EQ(static_cast<std::streamoff>(stream.tellg()), 77);
  EXPECT_TRUE(FileAt("LEVEL1/IMAGES/EMPTY.PID").GetData().empty());
  // A short file's first n bytes run on into the bytes that follow it, and
  // past the end of the archive they are zero.
  const auto& last = static_cast<const REZ::File&>(
      *static_cast<const REZ::Dir&>(*parser->Root().children[4]).children[0]);
  EXPECT_EQ(Text(a.GetData(10)), "aaain long");
  EXPECT_EQ(Text(last.GetData(14)), std::string("in too long\0\0\0", 14));
}

TEST(LargeArchive, DataPastThe2GiBMarkIsReadWhole) {
  constexpr std::uint64_t kGiB = 1ull << 30;
  const std::vector<std::tuple<std::string, std::uint64_t, std::string>> files = {
      {"PAST2G", 2 * kGiB + 17, "beyond two"}, {"LAST", 4 * kGiB - 16, "sixteen bytes!!!"}};
  std::vector<Node> nodes;
  for (const auto& [name, offset, text] : files) {
    nodes.push_back(FileNode(name, "DAT", text));
    nodes.back().dataAt = offset;
  }
  TempDir dir;
  Write(dir / "large.rez", Folder("ROOT", {Folder("FAR", nodes)}));
  REZ::Parser parser(dir / "large.rez");
  EXPECT_EQ(parser.ArchiveSize(), 4 * kGiB);
  EXPECT_EQ(MeasureArchiveFile(dir / "large.rez"), std::int64_t(4 * kGiB));
  for (const auto& [name, offset, text] : files) {
    const auto& file =
        static_cast<const REZ::File&>(*parser.Root().GetElement("FAR/" + name + ".DAT"));
    EXPECT_EQ(file.offset, offset) << name;
    EXPECT_EQ(Text(file.GetData()), text) << name;
  }
}

}  // namespace
