#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "ConvertTestSupport.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"

using rezbuild::FileNode;
using rezbuild::Folder;

namespace {

std::vector<unsigned char> Counting(std::size_t size, unsigned start = 1) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(start + i * 7);
  return bytes;
}

class PaletteSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    currentPalette.reset();
    SetDiagnosticsEnabled(true);
  }
  void TearDown() override {
    currentPalette.reset();
    SetDiagnosticsEnabled(true);
  }

  // Runs switchPaletteFrom on a top-level folder and returns what it printed.
  std::string SwitchFrom(const REZ::Parser& parser, const std::string& folder) {
    ::testing::internal::CaptureStdout();
    switchPaletteFrom(DirAt(parser, folder));
    return ::testing::internal::GetCapturedStdout();
  }

  TempDir dir;
};

}  // namespace

TEST_F(PaletteSwitch, PaletteOfATopLevelFolderBecomesCurrentAndStays) {
  const auto palette = Counting(768);
  const auto quiet = Counting(768, 3);
  auto parser = OpenArchive(
      dir, Folder("", {Folder("LEVEL1", {Folder("PALETTES", {FileNode("MAIN", "PAL", palette)})}),
                       Folder("LEVEL2", {FileNode("A", "PID", Counting(40))}),
                       Folder("LEVEL3", {Folder("PALETTES", {FileNode("MAIN", "PAL", quiet)})})}));

  EXPECT_EQ(SwitchFrom(*parser, "LEVEL1"), "Switched to palette from: LEVEL1\n");
  ASSERT_TRUE(currentPalette);
  EXPECT_TRUE(std::equal(palette.begin(), palette.end(), currentPalette->bytes.begin()));

  // A folder without a palette of its own keeps the current one.
  EXPECT_EQ(SwitchFrom(*parser, "LEVEL2"), "");
  ASSERT_TRUE(currentPalette);
  EXPECT_TRUE(std::equal(palette.begin(), palette.end(), currentPalette->bytes.begin()));

  // Silenced diagnostics still switch.
  SetDiagnosticsEnabled(false);
  EXPECT_EQ(SwitchFrom(*parser, "LEVEL3"), "");
  EXPECT_EQ(currentPalette->Red(0), 3);
}

TEST_F(PaletteSwitch, PaletteOfTheWrongSizeIsReportedAndUsedWithTheRestBlack) {
  const auto shortPalette = Counting(700);
  const auto longPalette = Counting(1024);
  auto parser = OpenArchive(
      dir, Folder("", {Folder("S", {Folder("PALETTES", {FileNode("MAIN", "PAL", shortPalette)})}),
                       Folder("L", {Folder("PALETTES", {FileNode("MAIN", "PAL", longPalette)})})}));
  // Something current already, so that leftovers would show.
  currentPalette = Palette{};
  currentPalette->bytes.fill(0xEE);
  EXPECT_EQ(SwitchFrom(*parser, "S"),
            "Error: palette found in S is broken!\nSwitched to palette from: S\n");
  ASSERT_TRUE(currentPalette);
  EXPECT_TRUE(std::equal(shortPalette.begin(), shortPalette.end(), currentPalette->bytes.begin()));
  EXPECT_EQ(currentPalette->Green(233), 0);
  EXPECT_EQ(currentPalette->Blue(255), 0);

  EXPECT_EQ(SwitchFrom(*parser, "L"),
            "Error: palette found in L is broken!\nSwitched to palette from: L\n");
  EXPECT_TRUE(
      std::equal(longPalette.begin(), longPalette.begin() + 768, currentPalette->bytes.begin()));
}

TEST_F(PaletteSwitch, OnlyAnExactPalettesFolderDirectlyInsideCounts) {
  const auto palette = Counting(768);
  auto parser = OpenArchive(
      dir,
      Folder("", {Folder("DEEP",
                         {Folder("X", {Folder("PALETTES", {FileNode("MAIN", "PAL", palette)})})}),
                  Folder("LOWER", {Folder("palettes", {FileNode("MAIN", "PAL", palette)})}),
                  Folder("OTHERNAME", {Folder("PALETTES", {FileNode("main", "PAL", palette)})}),
                  Folder("ASFOLDER", {Folder("PALETTES", {Folder("MAIN.PAL")})})}));
  for (const char* folder : {"DEEP", "LOWER", "OTHERNAME", "ASFOLDER"}) {
    EXPECT_EQ(SwitchFrom(*parser, folder), "") << folder;
    EXPECT_FALSE(currentPalette) << folder;
  }
}

TEST(PaletteLoading, ShortDataFillsOnlyTheBytesItHas) {
  Palette palette;
  palette.bytes.fill(9);
  const std::vector<std::uint8_t> data{1, 2, 3, 4};
  loadPaletteFromMemory(palette, data.data(), data.size());
  EXPECT_EQ(palette.Red(0), 1);
  EXPECT_EQ(palette.Red(1), 4);
  EXPECT_EQ(palette.Green(1), 9);
}
