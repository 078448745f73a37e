// How the reader turns archive bytes into a tree: header checks, record
// layout, type characters and node names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "archive/cREZ.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

void Append(std::vector<unsigned char>& out, std::initializer_list<char> bytes) {
  for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
}

// The worked minimal archive: one file record "A" of type TXT whose 5 data
// bytes follow the 31-byte record directly.
std::vector<unsigned char> MinimalArchive(std::uint32_t rootSize) {
  std::vector<unsigned char> bytes = Header(139, rootSize);
  PutU32(bytes, 0);    // kind: file
  PutU32(bytes, 170);  // data offset
  PutU32(bytes, 5);    // data size
  PutU32(bytes, 0);    // time
  PutU32(bytes, 0);    // id
  Append(bytes, {'T', 'X', 'T', '\0'});
  PutU32(bytes, 0);  // unread
  Append(bytes, {'A', '\0', '\0'});
  Append(bytes, {'h', 'e', 'l', 'l', 'o'});
  return bytes;
}

class ReaderFormat : public ::testing::Test {
 protected:
  std::unique_ptr<REZ::Parser> Open(const std::vector<unsigned char>& bytes) {
    WriteBytes(dir / "a.rez", bytes);
    return std::make_unique<REZ::Parser>(dir / "a.rez");
  }
  std::unique_ptr<REZ::Parser> Open(const Node& root) { return Open(Build(root)); }

  // The error the reader raises for these bytes.
  REZ::Exception Failure(const std::vector<unsigned char>& bytes) {
    try {
      Open(bytes);
    } catch (const REZ::Exception& e) {
      return e;
    }
    ADD_FAILURE() << "the archive loaded";
    return REZ::Exception("", 0, "", 0);
  }

  TempDir dir;
};

std::vector<std::string> ChildNames(const REZ::Dir& folder) {
  std::vector<std::string> names;
  for (const auto& child : folder.children) names.push_back(child->name);
  return names;
}

TEST_F(ReaderFormat, MinimalArchiveLoadsOneFile) {
  auto parser = Open(MinimalArchive(31));
  const REZ::Dir& root = parser->Root();
  EXPECT_EQ(root.name, "ROOT");
  EXPECT_EQ(root.offset, 139u);
  EXPECT_EQ(root.size, 31u);
  ASSERT_EQ(root.children.size(), 1u);
  const auto& file = static_cast<const REZ::File&>(*root.children[0]);
  EXPECT_TRUE(file.IsFile());
  EXPECT_EQ(file.name, "A.TXT");
  EXPECT_EQ(file.offset, 170u);
  EXPECT_EQ(file.size, 5u);
  EXPECT_EQ(file.parser, parser.get());
  const auto data = file.GetData();
  EXPECT_EQ(std::string(data.begin(), data.end()), "hello");
}

TEST_F(ReaderFormat, RootSizeDecidesWhetherAnotherRecordIsRead) {
  for (std::uint32_t size : {0u, 1u}) {
    EXPECT_TRUE(Open(Header(139, size))->Root().children.empty()) << "root size " << size;
  }
  // A record consumes its whole name scan: 32 still holds one record.
  EXPECT_EQ(ChildNames(Open(MinimalArchive(32))->Root()), std::vector<std::string>{"A.TXT"});
  // 33 reads a second record from the following bytes; zero bytes make a
  // nameless, typeless file.
  std::vector<unsigned char> bytes = MinimalArchive(33);
  bytes.resize(bytes.size() - 5);
  bytes.resize(bytes.size() + 5 + 30, 0);  // zero data, then a 30-byte record
  EXPECT_EQ(ChildNames(Open(bytes)->Root()), (std::vector<std::string>{"A.TXT", "."}));
  // Followed by only the 5 data bytes, that record is cut off.
  EXPECT_EQ(Failure(MinimalArchive(33)).code, REZ::kInvalidFormat);
}

TEST_F(ReaderFormat, FolderOfSizeZeroIsEmptyAndItsOffsetNeverVisited) {
  std::vector<unsigned char> bytes = Build(Folder("ROOT", {Folder("EMPTY")}));
  SetU32(bytes, 139 + 4, 0xFFFFFFF0u);  // the folder's block offset, far past the end
  auto parser = Open(bytes);
  ASSERT_EQ(parser->Root().children.size(), 1u);
  const auto& folder = static_cast<const REZ::Dir&>(*parser->Root().children[0]);
  EXPECT_TRUE(folder.IsDir());
  EXPECT_EQ(folder.name, "EMPTY");
  EXPECT_EQ(folder.offset, 0xFFFFFFF0u);
  EXPECT_TRUE(folder.children.empty());
}

TEST_F(ReaderFormat, ChildrenKeepRecordOrderAndFoldersAreReadDepthFirst) {
  auto parser = Open(
      Folder("ROOT", {FileNode("Z", "WAV"), Folder("M", {FileNode("INNER", "PID"), Folder("DEEP")}),
                      FileNode("A", "WAV")}));
  EXPECT_EQ(ChildNames(parser->Root()), (std::vector<std::string>{"Z.WAV", "M", "A.WAV"}));
  const auto& middle = static_cast<const REZ::Dir&>(*parser->Root().children[1]);
  EXPECT_EQ(ChildNames(middle), (std::vector<std::string>{"INNER.PID", "DEEP"}));
  // Reading the nested blocks leaves the stream right after the root size field.
  EXPECT_EQ(static_cast<std::streamoff>(parser->GetStream().tellg()), 139);
}

TEST_F(ReaderFormat, OnlyTheLowestKindByteDecidesBetweenFileAndFolder) {
  std::vector<unsigned char> file = Build(Folder("ROOT", {FileNode("F", "TXT", "x")}));
  SetU32(file, 139, 0xFFFFFF00u);  // low byte 0: still a file
  EXPECT_TRUE(Open(file)->Root().children.at(0)->IsFile());
  std::vector<unsigned char> folder = Build(Folder("ROOT", {Folder("D")}));
  SetU32(folder, 139, 0x00000002u);  // any non-zero low byte: a folder
  EXPECT_TRUE(Open(folder)->Root().children.at(0)->IsDir());
}

TEST_F(ReaderFormat, TypeBytesAreReadLastFirstWithLeadingNulsDropped) {
  const auto withRawType = [](std::string name, std::string stored) {
    Node node = FileNode(std::move(name), "");
    node.rawType = std::move(stored);
    return node;
  };
  auto parser = Open(Folder("ROOT", {
                                        withRawType("FRAME001", std::string("DIP\0", 4)),
                                        withRawType("FRAME002", "ZYX."),
                                        withRawType("README", std::string(4, '\0')),
                                        withRawType("SHORT", std::string("\0\0AW", 4)),
                                        withRawType("CUT", std::string("\0X\0Y", 4)),
                                        withRawType("FULL", "DCBA"),
                                        FileNode("", "TXT"),
                                    }));
  EXPECT_EQ(ChildNames(parser->Root()),
            (std::vector<std::string>{"FRAME001.PID", "FRAME002.XYZ", "README.", "SHORT.WA",
                                      "CUT.Y", "FULL.ABCD", ".TXT"}));
}

// path -> bytes of every node, depth first.
void Dump(const REZ::Dir& folder, const std::string& prefix, std::vector<std::string>& out) {
  for (const auto& child : folder.children) {
    const std::string path = prefix + child->name;
    if (child->IsDir()) {
      out.push_back(path + "/");
      Dump(static_cast<const REZ::Dir&>(*child), path + "/", out);
    } else {
      const auto data = static_cast<const REZ::File&>(*child).GetData();
      out.push_back(path + " " + std::string(data.begin(), data.end()));
    }
  }
}

TEST_F(ReaderFormat, RetailAndPlainLayoutsOfOneTreeReadAlike) {
  const Node tree =
      Folder("ROOT", {FileNode("SOUND", "WAV", "riff"),
                      Folder("GAME", {FileNode("README", "TXT", "hello"), Folder("EMPTY"),
                                      Folder("PALETTEZ", {FileNode("RED", "PAL", "rgb")})}),
                      FileNode("LAST", "PID", "pixels")});
  const auto retail = Build(tree, Layout::Retail);
  // The retail header: 168 bytes, banner lines and the end-of-text byte; data from 168.
  EXPECT_EQ(retail[0x7E], 0x1A);
  EXPECT_EQ(std::string(retail.begin() + 0x40, retail.begin() + 0x7C), std::string(60, ' '));
  std::vector<std::string> plainTree, retailTree;
  Dump(Open(tree)->Root(), "", plainTree);
  auto parser = Open(retail);
  Dump(parser->Root(), "", retailTree);
  // Retail puts folder records first; the tree is otherwise the same.
  std::sort(plainTree.begin(), plainTree.end());
  std::sort(retailTree.begin(), retailTree.end());
  EXPECT_EQ(retailTree, plainTree);
  EXPECT_EQ(parser->Root().GetElement("SOUND.WAV")->offset, 168u);
  // The root's body comes last.
  EXPECT_EQ(std::uint64_t{parser->Root().offset} + parser->Root().size, retail.size());
}

TEST_F(ReaderFormat, LongestNamesThatFitTheScanBuffer) {
  const std::string folderName(127, 'F');  // plus its NUL: 128 bytes
  const std::string fileName(126, 'N');    // plus two NULs: 128 bytes
  auto parser = Open(Folder("ROOT", {Folder(folderName, {FileNode(fileName, "WAV", "x")})}));
  const auto& folder = static_cast<const REZ::Dir&>(*parser->Root().children.at(0));
  EXPECT_EQ(folder.name, folderName);
  ASSERT_EQ(folder.children.size(), 1u);
  EXPECT_EQ(folder.children[0]->name, fileName + ".WAV");

  // A file name scan of 128 bytes whose only NUL is the last: the name is the
  // 127 bytes before it, and no comment byte is consumed.
  std::vector<unsigned char> bytes = MinimalArchive(28 + 128);
  bytes.resize(139 + 28);
  bytes.insert(bytes.end(), 127, 'N');
  bytes.push_back(0);
  EXPECT_EQ(ChildNames(Open(bytes)->Root()),
            std::vector<std::string>{std::string(127, 'N') + ".TXT"});
}

TEST_F(ReaderFormat, HeaderChecksAndUnopenableFilesRaiseTheirCodes) {
  std::vector<unsigned char> version2 = MinimalArchive(31);
  SetU32(version2, 127, 2);
  const REZ::Exception unsupported = Failure(version2);
  EXPECT_EQ(unsupported.code, REZ::kUnsupportedVersion);
  EXPECT_EQ(unsupported.message, "Unsupported version.");
  EXPECT_STREQ(unsupported.what(), "Unsupported version.");
  EXPECT_EQ(unsupported.file, "cREZ");
  EXPECT_GT(unsupported.line, 0);

  // A header too short for this version but long enough to name another.
  version2.resize(131);
  EXPECT_EQ(Failure(version2).message, "Unsupported version.");

  std::vector<unsigned char> swapped = MinimalArchive(31);
  std::swap(swapped[0], swapped[1]);
  std::vector<unsigned char> secondByte = MinimalArchive(31);
  secondByte[1] = 0x0B;
  std::vector<unsigned char> shortVersion1 = MinimalArchive(31);
  shortVersion1.resize(131);
  const std::string wrongStart = "does not start with the bytes 0D 0A";
  for (const auto& [bytes, rule] : std::vector<std::pair<std::vector<unsigned char>, std::string>>{
           {swapped, wrongStart},
           {secondByte, wrongStart},
           {{}, wrongStart},
           {{0x0D}, wrongStart},
           {shortVersion1, "the header needs 139 bytes, the file has 131"}}) {
    const REZ::Exception invalid = Failure(bytes);
    EXPECT_EQ(invalid.code, REZ::kInvalidFormat);
    EXPECT_EQ(invalid.message, "Invalid format.");
    EXPECT_NE(invalid.detail.find(rule), std::string::npos) << invalid.detail;
  }

  // Missing files and anything but regular files; a pipe without a writer
  // would block an attempt to open it.
  ASSERT_EQ(mkfifo((dir / "pipe.rez").c_str(), 0600), 0);
  for (const auto& path :
       {dir / "missing.rez", dir / "pipe.rez", std::filesystem::path("/dev/zero"), dir.path()}) {
    try {
      REZ::Parser parser(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const REZ::Exception& e) {
      EXPECT_EQ(e.code, REZ::kInvalidFormat) << path;
      EXPECT_EQ(e.message, "Invalid format.");
    }
  }
}

}  // namespace
