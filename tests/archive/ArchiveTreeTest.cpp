// Operations on a loaded archive: path lookup, reading file bytes, name helpers.
#include <gtest/gtest.h>

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
          Folder("ROOT", {
                             Folder("PALETTES", {FileNode("MAIN", "PAL", "palette bytes"),
                                                 FileNode("MAIN", "PAL", "second copy")}),
                             Folder("LEVEL1", {Folder("IMAGES", {FileNode("A", "PID", "aaa"),
                                                                 FileNode("EMPTY", "PID")})}),
                             FileNode("TOP", "TXT", "top"),
                             Folder(std::string(62, 'L'), {FileNode("IN", "TXT", "in long")}),
                             Folder(std::string(63, 'T'), {FileNode("IN", "TXT", "in too long")}),
                             FileNode(std::string(100, 'F'), "TXT", "long file name"),
                         }));
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
  struct Case {
    std::string path;
    const REZ::Element* expected;
  };
  const Case cases[] = {
      {"\\PALETTES\\MAIN.PAL", palette},
      {"/PALETTES/MAIN.PAL", palette},
      {"PALETTES\\MAIN.PAL", palette},
      {"PALETTES//MAIN.PAL", palette},   // absorbed by the next level
      {"//PALETTES/MAIN.PAL", nullptr},  // only one leading separator is dropped
      {"palettes/main.pal", nullptr},    // case-sensitive
      {"PALETTES/main.pal", nullptr},
      {"PALETTES/MAIN.PAL/X", nullptr},
      {"TOP.TXT/X", nullptr},
      {"PALETTES/", nullptr},
      {"LEVEL2/A.PID", nullptr},
      {"LEVEL1/IMAGES/B.PID", nullptr},
      {"", nullptr},
      {std::string(63, 'T') + "/IN.TXT", nullptr},  // inner segments: at most 62 characters
  };
  for (const Case& c : cases) EXPECT_EQ(Find(c.path), c.expected) << c.path;
  for (const std::string& path :
       std::vector<std::string>{"TOP.TXT", "LEVEL1/IMAGES/A.PID", std::string(62, 'L') + "/IN.TXT",
                                std::string(63, 'T'), std::string(100, 'F') + ".TXT"})
    EXPECT_NE(Find(path), nullptr) << path;

  const auto* level = static_cast<const REZ::Dir*>(Find("LEVEL1"));
  ASSERT_TRUE(level && level->IsDir());
  EXPECT_EQ(level->GetElement("IMAGES/A.PID"), Find("LEVEL1/IMAGES/A.PID"));
  EXPECT_EQ(level->GetElement("PALETTES"), nullptr);
}

TEST_F(ArchiveTree, ReadsInterleaveWithoutDisturbingEachOtherOrTheStream) {
  const REZ::File& a = FileAt("LEVEL1/IMAGES/A.PID");
  const REZ::File& top = FileAt("TOP.TXT");
  std::istream& stream = parser->GetStream();
  stream.seekg(77);
  EXPECT_EQ(Text(a.GetData()), "aaa");
  EXPECT_EQ(Text(top.GetData()), "top");
  EXPECT_EQ(Text(a.GetData(2)), "aa");
  EXPECT_EQ(Text(top.GetData()), "top");
  EXPECT_EQ(static_cast<std::streamoff>(stream.tellg()), 77);

  const REZ::File& empty = FileAt("LEVEL1/IMAGES/EMPTY.PID");
  EXPECT_EQ(empty.size, 0u);
  EXPECT_TRUE(empty.GetData().empty());
  EXPECT_TRUE(empty.GetData(0).empty());
}

TEST(FileExtension, TextAfterTheLastDot) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"FRAME001.PID", "PID"},   {"A.B.WAV", "WAV"},       {"sound.wav", "wav"}, {".TXT", "TXT"},
      {"README.", std::nullopt}, {"README", std::nullopt}, {"", std::nullopt}};
  for (const auto& [name, expected] : cases) EXPECT_EQ(REZ::FileExtension(name), expected) << name;
}

TEST(ReplaceAll, ResumesOneFindLengthAfterEachMatch) {
  struct Case {
    const char *text, *find, *replacement, *expected;
  };
  const Case cases[] = {
      {"\\A\\B\\C.PID", "\\", "/", "/A/B/C.PID"},
      {"LEVEL1/PID/X.PID", "PID", "png", "LEVEL1/png/X.png"},
      // The resumed search may match across the end of a longer replacement...
      {"abb", "ab", "xxa", "xxxxa"},
      // ...and with a shorter one it resumes past text that followed the match.
      {"abab", "ab", "x", "xab"},
      // A replacement containing what is sought still ends.
      {"a/b", "/", "//", "a//b"},
      {"ab", "a", "aXa", "aXab"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(REZ::ReplaceAll(c.text, c.find, c.replacement), c.expected) << c.text;
}

}  // namespace
