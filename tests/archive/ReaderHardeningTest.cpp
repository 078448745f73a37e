// Damaged and hostile archives: each must be rejected as "Invalid format."
// instead of reading out of bounds, recursing forever or exhausting memory.
#include <gtest/gtest.h>

#include "archive/cREZ.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

void FolderRecord(std::vector<unsigned char>& out, std::uint32_t offset, std::uint32_t size,
                  const std::string& name) {
  PutU32(out, 1);
  PutU32(out, offset);
  PutU32(out, size);
  PutU32(out, 0);
  out.insert(out.end(), name.begin(), name.end());
  out.push_back(0);
}

void FileRecordFixedPart(std::vector<unsigned char>& out, std::uint32_t offset,
                         std::uint32_t size) {
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, size);
  PutU32(out, 0);
  PutU32(out, 0);
  for (char c : {'T', 'X', 'T', '\0'}) out.push_back(static_cast<unsigned char>(c));
  PutU32(out, 0);
}

class ReaderHardening : public ::testing::Test {
 protected:
  // Expects the bytes to be refused as "Invalid format." by the rule whose
  // detail text holds rule.
  void ExpectInvalid(const std::vector<unsigned char>& bytes, const std::string& rule) {
    WriteBytes(dir / "bad.rez", bytes);
    try {
      REZ::Parser parser(dir / "bad.rez");
      ADD_FAILURE() << "the archive loaded";
    } catch (const REZ::Exception& e) {
      EXPECT_EQ(e.code, REZ::kInvalidFormat);
      EXPECT_EQ(e.message, "Invalid format.");
      EXPECT_NE(e.detail.find(rule), std::string::npos) << e.detail;
    }
  }

  std::unique_ptr<REZ::Parser> Open(const std::vector<unsigned char>& bytes) {
    WriteBytes(dir / "good.rez", bytes);
    return std::make_unique<REZ::Parser>(dir / "good.rez");
  }

  TempDir dir;
};

TEST_F(ReaderHardening, DamagedStructure) {
  const std::vector<unsigned char> good = Build(Folder("ROOT", {FileNode("A", "TXT", "abc")}));
  const auto length = static_cast<std::uint32_t>(good.size());
  // Data that ends exactly at the end of the file is fine.
  EXPECT_EQ(Open(good)->Root().children.at(0)->offset, length - 3);

  std::vector<std::pair<const char*, std::vector<unsigned char>>> cases;
  const auto add = [&](const char* what, std::vector<unsigned char> bytes) {
    cases.emplace_back(what, std::move(bytes));
  };
  std::vector<unsigned char> bytes = Header(139, 0);
  bytes.resize(100);
  add("the header needs 139 bytes, the file has 100", bytes);

  for (auto [offset, size] : {std::pair<std::uint32_t, std::uint32_t>{length + 10, 31},
                              {139, length},  // starts inside, ends outside
                              {0xFFFFFFF0u, 0x20u},
                              {139, 0xFFFFFFFFu}}) {
    bytes = good;
    SetU32(bytes, 131, offset);
    SetU32(bytes, 135, size);
    add("folder block of \"ROOT\"", bytes);
  }
  for (auto [offset, size] : {std::pair<std::uint32_t, std::uint32_t>{length - 2, 3},
                              {length + 1, 0},
                              {0xFFFFFFFFu, 2}}) {  // offset + size wraps in 32 bits
    bytes = good;
    SetU32(bytes, 139 + 4, offset);
    SetU32(bytes, 139 + 8, size);
    add("data of \"A.TXT\"", bytes);
  }

  bytes = Header(139, 18);
  FolderRecord(bytes, 1000, 40, "A");
  add("folder block of \"A\" at offset 1000", bytes);
  bytes = Header(139, 18);
  FolderRecord(bytes, 157, 1000, "A");  // starts at the end of the file
  add("folder block of \"A\" at offset 157", bytes);

  // The block ends within the file, but its file record needs 28 bytes.
  bytes = Header(139, 20);
  FileRecordFixedPart(bytes, 0, 0);
  bytes.resize(bytes.size() - 8);
  add("record at offset 139 is cut off", bytes);

  // The blocks lie inside the file; only the names run off its end.
  bytes = Header(139, 30);
  FileRecordFixedPart(bytes, 0, 0);
  bytes.push_back('A');
  bytes.push_back(0);  // one NUL only: the scan wants two
  add("name of the file record at offset 139 runs past", bytes);
  bytes = Header(139, 18);
  FolderRecord(bytes, 0, 0, "AB");
  bytes.pop_back();
  add("name of the folder record at offset 139 runs past", bytes);

  bytes = Header(139, 28 + 128);
  FileRecordFixedPart(bytes, 0, 0);
  bytes.insert(bytes.end(), 200, 'N');
  add("file record at offset 139 has no end within 128", bytes);
  bytes = Header(139, 16 + 128);
  FolderRecord(bytes, 0, 0, std::string(200, 'F'));
  add("folder record at offset 139 has no end within 128", bytes);

  bytes = Header(139, 18);
  FolderRecord(bytes, 139, 18, "A");
  add("\"A\" points back into the block of \"ROOT\"", bytes);
  bytes = Header(139, 36);
  FolderRecord(bytes, 0, 0, "A");
  FolderRecord(bytes, 139 + 18, 18, "B");
  add("\"B\" points back into the block of \"ROOT\"", bytes);
  // ROOT (139) -> A (157) -> B (175) -> back into ROOT's block.
  bytes = Header(139, 18);
  FolderRecord(bytes, 157, 18, "A");
  FolderRecord(bytes, 175, 18, "B");
  FolderRecord(bytes, 139, 18, "C");
  add("\"C\" points back into the block of \"ROOT\"", bytes);

  for (const auto& [rule, damaged] : cases) {
    SCOPED_TRACE(rule);
    ExpectInvalid(damaged, rule);
  }
}

TEST_F(ReaderHardening, BlockStatedOneByteLongerThanItsRecordsIsNoCycle) {
  // The next block starts right after the root's records, inside its stated size.
  std::vector<unsigned char> bytes = Build(Folder("ROOT", {Folder("A", {FileNode("X", "TXT")})}));
  SetU32(bytes, 135, 18 + 1);
  auto parser = Open(bytes);
  EXPECT_NE(parser->Root().GetElement("A/X.TXT"), nullptr);
}

TEST_F(ReaderHardening, FoldersSharingABlockAreReadLikeAnyOther) {
  // Two sibling folders may list the same block; that is no cycle.
  std::vector<unsigned char> bytes = Header(139, 36);
  FolderRecord(bytes, 175, 31, "A");
  FolderRecord(bytes, 175, 31, "B");
  FileRecordFixedPart(bytes, 0, 0);
  bytes.push_back('X');
  bytes.push_back(0);
  bytes.push_back(0);
  auto parser = Open(bytes);
  ASSERT_EQ(parser->Root().children.size(), 2u);
  for (const auto& child : parser->Root().children) {
    const auto& folder = static_cast<const REZ::Dir&>(*child);
    ASSERT_EQ(folder.children.size(), 1u);
    EXPECT_EQ(folder.children[0]->name, "X.TXT");
  }
}

Node NestedFolders(int depth) {
  Node innermost = Folder("LEAF", {FileNode("X", "TXT", "x")});
  for (int i = 0; i < depth; ++i) {
    Node outer = Folder("D");
    outer.children.push_back(std::move(innermost));
    innermost = std::move(outer);
  }
  return innermost;
}

TEST_F(ReaderHardening, AbsurdNesting) {
  auto parser = Open(Build(Folder("ROOT", {NestedFolders(100)})));
  const REZ::Element* node = parser->Root().GetElement([] {
    std::string path;
    for (int i = 0; i < 100; ++i) path += "D/";
    return path + "LEAF/X.TXT";
  }());
  ASSERT_NE(node, nullptr);
  EXPECT_TRUE(node->IsFile());

  ExpectInvalid(Build(Folder("ROOT", {NestedFolders(1000)})), "folders nest deeper than 256");
}

TEST_F(ReaderHardening, RecordCountBeyondWhatTheFileCanHold) {
  // Each block lists the next block twice: 2^40 folders from a file of about
  // 1.6 kB if the reader believed them.
  constexpr int kLevels = 40;
  constexpr std::uint32_t kBlock = 2 * 18;
  std::vector<unsigned char> bytes = Header(139, kBlock);
  for (int level = 0; level < kLevels; ++level) {
    const std::uint32_t next = level + 1 < kLevels ? 139 + (level + 1) * kBlock : 0;
    const std::uint32_t size = level + 1 < kLevels ? kBlock : 0;
    FolderRecord(bytes, next, size, "a");
    FolderRecord(bytes, next, size, "b");
  }
  ExpectInvalid(bytes, "more records than a file of");
}

TEST_F(ReaderHardening, FirstBytesOfAFileAreZeroFilledPastTheEndOfTheArchive) {
  std::vector<unsigned char> bytes =
      Build(Folder("ROOT", {FileNode("A", "TXT", "first"), FileNode("B", "TXT", "last")}));
  // A short file's first n bytes run on into the archive bytes that follow it.
  const auto head = static_cast<const REZ::File&>(*Open(bytes)->Root().children[0]).GetData(9);
  EXPECT_EQ(std::string(head.begin(), head.end()), "firstlast");

  // A file that starts at the very end of the archive.
  SetU32(bytes, 139 + 4, static_cast<std::uint32_t>(bytes.size()));
  SetU32(bytes, 139 + 8, 0);
  auto parser = Open(bytes);
  const auto& empty = static_cast<const REZ::File&>(*parser->Root().children[0]);
  EXPECT_EQ(empty.GetData(4), std::vector<unsigned char>(4, 0));
  EXPECT_TRUE(empty.GetData().empty());
}

}  // namespace
