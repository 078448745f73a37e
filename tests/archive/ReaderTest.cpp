// How the reader turns archive bytes into a tree, and how it refuses damaged
// and hostile archives: each refusal names the rule that fired, so that a
// weakened check masked by a later one still fails here.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "archive/cREZ.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

using Bytes8 = std::vector<unsigned char>;

Bytes8 operator+(Bytes8 a, const std::string& text) {
  a.insert(a.end(), text.begin(), text.end());
  return a;
}

Bytes8 FolderRecord(Bytes8 out, std::uint32_t offset, std::uint32_t size, const std::string& name) {
  for (std::uint32_t word : {1u, offset, size, 0u}) PutU32(out, word);
  return out + name + std::string(1, '\0');
}

// The 28 fixed bytes of a TXT file record; its name follows.
Bytes8 FileRecord(Bytes8 out, std::uint32_t offset, std::uint32_t size) {
  for (std::uint32_t word : {0u, offset, size, 0u, 0u}) PutU32(out, word);
  return out + std::string("TXT\0\0\0\0\0", 8);
}

// The worked minimal archive: one file "A" of type TXT whose 5 data bytes
// follow its 31-byte record.
Bytes8 MinimalArchive(std::uint32_t rootSize) {
  return FileRecord(Header(139, rootSize), 170, 5) + std::string("A\0\0hello", 8);
}

std::vector<std::string> ChildNames(const REZ::Dir& folder) {
  std::vector<std::string> names;
  for (const auto& child : folder.children) names.push_back(child->name);
  return names;
}

class Reader : public ::testing::Test {
 protected:
  std::unique_ptr<REZ::Parser> Open(const Bytes8& bytes) {
    WriteBytes(dir / "a.rez", bytes);
    return std::make_unique<REZ::Parser>(dir / "a.rez");
  }
  std::unique_ptr<REZ::Parser> Open(const Node& root) { return Open(Build(root)); }

  REZ::Exception Failure(const Bytes8& bytes) {
    try {
      Open(bytes);
    } catch (const REZ::Exception& e) {
      return e;
    }
    ADD_FAILURE() << "the archive loaded";
    return REZ::Exception("", 0, "", 0);
  }
  // Refused as "Invalid format." by the rule whose detail text holds rule.
  void ExpectInvalid(const Bytes8& bytes, const std::string& rule) {
    const REZ::Exception e = Failure(bytes);
    EXPECT_EQ(e.code, REZ::kInvalidFormat) << rule;
    EXPECT_EQ(e.message, "Invalid format.");
    EXPECT_NE(e.detail.find(rule), std::string::npos) << e.detail;
  }

  TempDir dir;
};

TEST_F(Reader, MinimalArchiveAndTheRootSizeThatDecidesWhetherAnotherRecordIsRead) {
  auto parser = Open(MinimalArchive(31));
  const REZ::Dir& root = parser->Root();
  EXPECT_EQ(root.name, "ROOT");
  ASSERT_EQ(ChildNames(root), std::vector<std::string>{"A.TXT"});
  const auto& file = static_cast<const REZ::File&>(*root.children[0]);
  EXPECT_TRUE(file.IsFile());
  EXPECT_EQ(file.offset, 170u);
  EXPECT_EQ(file.size, 5u);
  EXPECT_EQ(file.GetData(), (Bytes8{'h', 'e', 'l', 'l', 'o'}));

  for (std::uint32_t size : {0u, 1u}) EXPECT_TRUE(Open(Header(139, size))->Root().children.empty());
  // A record consumes its whole name scan: 32 still holds one record.
  EXPECT_EQ(ChildNames(Open(MinimalArchive(32))->Root()), std::vector<std::string>{"A.TXT"});
  // 33 reads a second record; zero bytes make a nameless, typeless file...
  Bytes8 bytes = MinimalArchive(33);
  bytes.resize(bytes.size() - 5);
  bytes.resize(bytes.size() + 35, 0);
  EXPECT_EQ(ChildNames(Open(bytes)->Root()), (std::vector<std::string>{"A.TXT", "."}));
  // ...and followed by only the 5 data bytes, that record is cut off.
  ExpectInvalid(MinimalArchive(33), "record at offset 170 is cut off");
}

TEST_F(Reader, RecordsInOrderFoldersDepthFirstAndTheKindInTheLowestByte) {
  auto parser = Open(
      Folder("ROOT", {FileNode("Z", "WAV"), Folder("M", {FileNode("INNER", "PID"), Folder("DEEP")}),
                      FileNode("A", "WAV")}));
  EXPECT_EQ(ChildNames(parser->Root()), (std::vector<std::string>{"Z.WAV", "M", "A.WAV"}));
  EXPECT_EQ(ChildNames(dynamic_cast<const REZ::Dir&>(*parser->Root().children[1])),
            (std::vector<std::string>{"INNER.PID", "DEEP"}));
  // Reading the nested blocks leaves the stream right after the header.
  EXPECT_EQ(static_cast<std::streamoff>(parser->GetStream().tellg()), 139);

  Bytes8 file = Build(Folder("ROOT", {FileNode("F", "TXT", "x")}));
  SetU32(file, 139, 0xFFFFFF00u);  // low byte 0: still a file
  EXPECT_TRUE(Open(file)->Root().children.at(0)->IsFile());
  Bytes8 folder = Build(Folder("ROOT", {Folder("D")}));
  SetU32(folder, 139, 2);                // any non-zero low byte: a folder
  SetU32(folder, 139 + 4, 0xFFFFFFF0u);  // an empty folder's block is never visited
  EXPECT_TRUE(Open(folder)->Root().children.at(0)->IsDir());
}

TEST_F(Reader, TypeBytesAreReadLastFirstWithLeadingNulsDropped) {
  std::vector<Node> files;
  for (const std::string& stored :
       {std::string("DIP\0", 4), std::string("ZYX."), std::string(4, '\0'),
        std::string("\0\0AW", 4), std::string("\0X\0Y", 4), std::string("DCBA")}) {
    files.push_back(FileNode("F", ""));
    files.back().rawType = stored;
  }
  files.push_back(FileNode("", "TXT"));
  EXPECT_EQ(ChildNames(Open(Folder("ROOT", files))->Root()),
            (std::vector<std::string>{"F.PID", "F.XYZ", "F.", "F.WA", "F.Y", "F.ABCD", ".TXT"}));
}

TEST_F(Reader, LongestNamesThatFitTheScanBuffer) {
  const std::string folderName(127, 'F');  // plus its NUL: 128 bytes
  const std::string fileName(126, 'N');    // plus two NULs: 128 bytes
  auto parser = Open(Folder("ROOT", {Folder(folderName, {FileNode(fileName, "WAV", "x")})}));
  const auto& folder = dynamic_cast<const REZ::Dir&>(*parser->Root().children.at(0));
  EXPECT_EQ(folder.name, folderName);
  EXPECT_EQ(ChildNames(folder), std::vector<std::string>{fileName + ".WAV"});
  // A file name scan of 128 bytes whose only NUL is the last: the name is the
  // 127 bytes before it, and no comment byte is consumed.
  const Bytes8 bytes =
      FileRecord(Header(139, 28 + 128), 0, 0) + std::string(127, 'N') + std::string(1, '\0');
  EXPECT_EQ(ChildNames(Open(bytes)->Root()),
            std::vector<std::string>{std::string(127, 'N') + ".TXT"});
}

TEST_F(Reader, HeaderChecksAndUnopenableFiles) {
  Bytes8 version2 = MinimalArchive(31);
  SetU32(version2, 127, 2);
  for (const std::size_t size : {version2.size(), std::size_t{131}}) {
    version2.resize(size);  // a header too short for this version, long enough to name another
    const REZ::Exception unsupported = Failure(version2);
    EXPECT_EQ(unsupported.code, REZ::kUnsupportedVersion);
    EXPECT_STREQ(unsupported.what(), "Unsupported version.");
  }
  Bytes8 swapped = MinimalArchive(31), secondByte = swapped, shortHeader = swapped;
  std::swap(swapped[0], swapped[1]);
  secondByte[1] = 0x0B;
  shortHeader.resize(131);
  for (const Bytes8& bytes : {swapped, secondByte, Bytes8{}, Bytes8{0x0D}})
    ExpectInvalid(bytes, "does not start with the bytes 0D 0A");
  ExpectInvalid(shortHeader, "the header needs 139 bytes, the file has 131");

  // A pipe without a writer would block an attempt to open it.
  ASSERT_EQ(mkfifo((dir / "pipe.rez").c_str(), 0600), 0);
  for (const auto& path :
       {dir / "missing.rez", dir / "pipe.rez", std::filesystem::path("/dev/zero"), dir.path()}) {
    try {
      REZ::Parser parser(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const REZ::Exception& e) {
      EXPECT_EQ(e.code, REZ::kInvalidFormat) << path;
    }
  }
}

TEST_F(Reader, DamagedStructureIsRefusedByTheRuleItBreaks) {
  const Bytes8 good = Build(Folder("ROOT", {FileNode("A", "TXT", "abc")}));
  const auto length = static_cast<std::uint32_t>(good.size());
  // Data that ends exactly at the end of the file is fine.
  EXPECT_EQ(Open(good)->Root().children.at(0)->offset, length - 3);

  std::vector<std::pair<std::string, Bytes8>> cases;
  const auto patched = [&](std::size_t at, std::uint32_t offset, std::uint32_t size) {
    Bytes8 bytes = good;
    SetU32(bytes, at, offset);
    SetU32(bytes, at + 4, size);
    return bytes;
  };
  for (auto [offset, size] : {std::pair<std::uint32_t, std::uint32_t>{length + 10, 31},
                              {139, length},          // starts inside, ends outside
                              {0xFFFFFFF0u, 0x20u}})  // offset + size wraps in 32 bits
    cases.emplace_back("folder block of \"ROOT\"", patched(131, offset, size));
  for (auto [offset, size] : {std::pair<std::uint32_t, std::uint32_t>{length - 2, 3},
                              {length + 1, 0},
                              {0xFFFFFFFFu, 2}})  // offset + size wraps in 32 bits
    cases.emplace_back("data of \"A.TXT\"", patched(143, offset, size));

  const Bytes8 h18 = Header(139, 18);
  cases.emplace_back("folder block of \"A\" at offset 1000", FolderRecord(h18, 1000, 40, "A"));
  cases.emplace_back("folder block of \"A\" at offset 157", FolderRecord(h18, 157, 1000, "A"));
  Bytes8 cut = FileRecord(Header(139, 20), 0, 0);  // the block ends in the file, the record not
  cut.resize(cut.size() - 8);
  cases.emplace_back("record at offset 139 is cut off", cut);
  cases.emplace_back("name of the file record at offset 139 runs past",
                     FileRecord(Header(139, 30), 0, 0) + std::string("A\0", 2));
  Bytes8 folderName = FolderRecord(h18, 0, 0, "AB");
  folderName.pop_back();
  cases.emplace_back("name of the folder record at offset 139 runs past", folderName);
  cases.emplace_back("file record at offset 139 has no end within 128",
                     FileRecord(Header(139, 28 + 128), 0, 0) + std::string(200, 'N'));
  cases.emplace_back("folder record at offset 139 has no end within 128",
                     FolderRecord(Header(139, 16 + 128), 0, 0, std::string(200, 'F')));

  // Cycles, to the first byte of a block and to the record just read.
  cases.emplace_back("\"A\" points back into the block of \"ROOT\"",
                     FolderRecord(h18, 139, 18, "A"));
  cases.emplace_back("\"B\" points back into the block of \"ROOT\"",
                     FolderRecord(FolderRecord(Header(139, 36), 0, 0, "A"), 157, 18, "B"));
  // ROOT (139) -> A (157) -> B (175) -> back into ROOT's block.
  cases.emplace_back(
      "\"C\" points back into the block of \"ROOT\"",
      FolderRecord(FolderRecord(FolderRecord(h18, 157, 18, "A"), 175, 18, "B"), 139, 18, "C"));
  for (const auto& [rule, bytes] : cases) ExpectInvalid(bytes, rule);
}

TEST_F(Reader, BlocksThatOverlapWithoutACycleAreRead) {
  // The root's stated size runs one byte into the next block.
  Bytes8 bytes = Build(Folder("ROOT", {Folder("A", {FileNode("X", "TXT")})}));
  SetU32(bytes, 135, 18 + 1);
  EXPECT_NE(Open(bytes)->Root().GetElement("A/X.TXT"), nullptr);
  // Two sibling folders list the same block.
  bytes = FolderRecord(FolderRecord(Header(139, 36), 175, 31, "A"), 175, 31, "B");
  auto parser = Open(FileRecord(bytes, 0, 0) + std::string("X\0\0", 3));
  EXPECT_NE(parser->Root().GetElement("A/X.TXT"), nullptr);
  EXPECT_NE(parser->Root().GetElement("B/X.TXT"), nullptr);
}

TEST_F(Reader, AbsurdNestingAndRecordCounts) {
  const auto nested = [](int depth) {
    Node node = Folder("LEAF", {FileNode("X", "TXT", "x")});
    for (int i = 0; i < depth; ++i) node = Folder("D", {node});
    return Folder("ROOT", {node});
  };
  std::string path;
  for (int i = 0; i < 100; ++i) path += "D/";
  EXPECT_NE(Open(nested(100))->Root().GetElement(path + "LEAF/X.TXT"), nullptr);
  ExpectInvalid(Build(nested(1000)), "folders nest deeper than 256");

  // Each block lists the next one twice: 2^40 folders from a file of 1.6 kB.
  constexpr std::uint32_t kLevels = 40, kBlock = 2 * 18;
  Bytes8 bytes = Header(139, kBlock);
  for (std::uint32_t level = 1; level <= kLevels; ++level) {
    const std::uint32_t next = level < kLevels ? 139 + level * kBlock : 0;
    for (const char* name : {"a", "b"})
      bytes = FolderRecord(bytes, next, level < kLevels ? kBlock : 0, name);
  }
  ExpectInvalid(bytes, "more records than a file of");
}

}  // namespace
