// Operations on a loaded archive: path lookup, reading file bytes, name helpers.
#include <gtest/gtest.h>

#include "archive/cREZ.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

using namespace rezbuild;

namespace {

class ArchiveTree : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string longSegment(62, 'L');
    const std::string tooLongSegment(63, 'T');
    Write(dir / "tree.rez",
          Folder("ROOT", {
                             Folder("PALETTES", {FileNode("MAIN", "PAL", "palette bytes"),
                                                 FileNode("MAIN", "PAL", "second copy")}),
                             Folder("LEVEL1", {Folder("IMAGES", {FileNode("A", "PID", "aaa"),
                                                                 FileNode("EMPTY", "PID")})}),
                             FileNode("TOP", "TXT", "top"),
                             Folder(longSegment, {FileNode("IN", "TXT", "in long")}),
                             Folder(tooLongSegment, {FileNode("IN", "TXT", "in too long")}),
                             FileNode(std::string(100, 'F'), "TXT", "long file name"),
                         }));
    parser = std::make_unique<REZ::Parser>(dir / "tree.rez");
  }

  const REZ::Element* Find(std::string_view path) const { return parser->Root().GetElement(path); }

  static std::string Text(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
  }

  TempDir dir;
  std::unique_ptr<REZ::Parser> parser;
};

TEST_F(ArchiveTree, BothSeparatorsAndOneLeadingSeparatorFindTheSameNode) {
  const REZ::Element* palette = Find("PALETTES/MAIN.PAL");
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->name, "MAIN.PAL");
  EXPECT_EQ(Find("\\PALETTES\\MAIN.PAL"), palette);
  EXPECT_EQ(Find("/PALETTES/MAIN.PAL"), palette);
  EXPECT_EQ(Find("PALETTES\\MAIN.PAL"), palette);
  // A doubled separator after a segment is absorbed by the next level.
  EXPECT_EQ(Find("PALETTES//MAIN.PAL"), palette);
  // Only one leading separator is dropped.
  EXPECT_EQ(Find("//PALETTES/MAIN.PAL"), nullptr);
}

TEST_F(ArchiveTree, LookupIsCaseSensitive) {
  EXPECT_EQ(Find("palettes/main.pal"), nullptr);
  EXPECT_EQ(Find("PALETTES/main.pal"), nullptr);
  EXPECT_EQ(Find("top.txt"), nullptr);
  EXPECT_NE(Find("TOP.TXT"), nullptr);
}

TEST_F(ArchiveTree, FindsFoldersAndNestedFilesFromAnyFolder) {
  const REZ::Element* level = Find("LEVEL1");
  ASSERT_NE(level, nullptr);
  ASSERT_TRUE(level->IsDir());
  const REZ::Element* image = Find("LEVEL1/IMAGES/A.PID");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(static_cast<const REZ::Dir*>(level)->GetElement("IMAGES/A.PID"), image);
  EXPECT_EQ(static_cast<const REZ::Dir*>(level)->GetElement("PALETTES"), nullptr);
}

TEST_F(ArchiveTree, MissingSegmentsFilesMidPathAndTrailingSeparatorsFindNothing) {
  EXPECT_EQ(Find("PALETTES/MAIN.PAL/X"), nullptr);
  EXPECT_EQ(Find("TOP.TXT/X"), nullptr);
  EXPECT_EQ(Find("PALETTES/"), nullptr);
  EXPECT_EQ(Find("LEVEL2/A.PID"), nullptr);
  EXPECT_EQ(Find("LEVEL1/IMAGES/B.PID"), nullptr);
  EXPECT_EQ(Find(""), nullptr);
}

TEST_F(ArchiveTree, DuplicateNamesResolveToTheFirstInRecordOrder) {
  const auto* palette = static_cast<const REZ::File*>(Find("PALETTES/MAIN.PAL"));
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(Text(palette->GetData()), "palette bytes");
}

TEST_F(ArchiveTree, InnerSegmentsLongerThan62CharactersFindNothing) {
  EXPECT_NE(Find(std::string(62, 'L') + "/IN.TXT"), nullptr);
  EXPECT_EQ(Find(std::string(63, 'T') + "/IN.TXT"), nullptr);
  EXPECT_NE(Find(std::string(63, 'T')), nullptr);  // a last segment has no such limit
  EXPECT_NE(Find(std::string(100, 'F') + ".TXT"), nullptr);
}

TEST_F(ArchiveTree, ReadsInterleaveWithoutDisturbingEachOtherOrTheStream) {
  const auto* a = static_cast<const REZ::File*>(Find("LEVEL1/IMAGES/A.PID"));
  const auto* top = static_cast<const REZ::File*>(Find("TOP.TXT"));
  ASSERT_TRUE(a && top);
  std::istream& stream = parser->GetStream();
  stream.seekg(77);
  EXPECT_EQ(Text(a->GetData()), "aaa");
  EXPECT_EQ(Text(top->GetData()), "top");
  EXPECT_EQ(Text(a->GetData(2)), "aa");
  EXPECT_EQ(Text(top->GetData()), "top");
  EXPECT_EQ(static_cast<std::streamoff>(stream.tellg()), 77);
}

TEST_F(ArchiveTree, EmptyFileGivesAnEmptyBuffer) {
  const auto* empty = static_cast<const REZ::File*>(Find("LEVEL1/IMAGES/EMPTY.PID"));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->size, 0u);
  EXPECT_TRUE(empty->GetData().empty());
  EXPECT_TRUE(empty->GetData(0).empty());
}

TEST(FileExtension, TextAfterTheLastDot) {
  EXPECT_EQ(REZ::FileExtension("FRAME001.PID"), "PID");
  EXPECT_EQ(REZ::FileExtension("A.B.WAV"), "WAV");
  EXPECT_EQ(REZ::FileExtension("sound.wav"), "wav");
  EXPECT_EQ(REZ::FileExtension(".TXT"), "TXT");
  EXPECT_EQ(REZ::FileExtension("README."), std::nullopt);
  EXPECT_EQ(REZ::FileExtension("README"), std::nullopt);
  EXPECT_EQ(REZ::FileExtension(""), std::nullopt);
}

TEST(ReplaceAll, ReplacesEveryOccurrence) {
  EXPECT_EQ(REZ::ReplaceAll("\\A\\B\\C.PID", "\\", "/"), "/A/B/C.PID");
  EXPECT_EQ(REZ::ReplaceAll("LEVEL1/PID/X.PID", "PID", "png"), "LEVEL1/png/X.png");
  EXPECT_EQ(REZ::ReplaceAll("nothing here", "PID", "png"), "nothing here");
  EXPECT_EQ(REZ::ReplaceAll("", "a", "b"), "");
}

TEST(ReplaceAll, SearchResumesOneFindLengthAfterEachMatch) {
  // The resumed search may match across the end of a longer replacement.
  EXPECT_EQ(REZ::ReplaceAll("abb", "ab", "xxa"), "xxxxa");
  // With a shorter replacement it resumes past text that followed the match.
  EXPECT_EQ(REZ::ReplaceAll("abab", "ab", "x"), "xab");
}

TEST(ReplaceAll, EndsWhenTheReplacementContainsWhatIsSought) {
  EXPECT_EQ(REZ::ReplaceAll("a/b", "/", "//"), "a//b");
  EXPECT_EQ(REZ::ReplaceAll("aa", "a", "ba"), "baba");
  EXPECT_EQ(REZ::ReplaceAll("ab", "a", "aXa"), "aXab");
}

}  // namespace
