#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AppHarness.h"
#include "app/states/Details.h"
#include "app/states/Extract.h"
#include "app/states/Select.h"
#include "extract/ExtractJob.h"
#include "extract/Formatting.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wSkin.h"
#include "gcnWidgets/wTextField.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"
#include "text/BitmapFont.h"

namespace {

using apptest::AppHarness;
using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;
namespace fs = std::filesystem;

constexpr std::uint32_t kWhite = 0xFFFFFFFF, kYellow = 0xFFFFFF00, kGreen = 0xFF00FF00,
                        kGrey = 0xFF777777;

class DetailsScreen : public testing::Test {
 protected:
  DetailsScreen() {
    apptest::WriteSmallArchive(archive);
    harness.Frame();
    Open(archive);
  }
  void Open(const fs::path& path) {
    harness.Show(
        std::make_unique<State::Details>(harness.app, path.string(), destination.string()));
  }
  State::Details* Screen() { return harness.TopAs<State::Details>(); }
  // Centre of the check box at (x, y).
  void ClickBox(int x, int y) { harness.Click(x + 8, y + 12); }
  void TickType(int row) { ClickBox(3, 47 + 22 * row); }
  std::string Total(const std::string& label) { return harness.TextStartingWith(label).text; }

  TempDir temp;
  fs::path archive = temp / "claw.rez";
  fs::path destination = temp.path();
  AppHarness harness;
};

TEST_F(DetailsScreen, ListsTheTypesInFirstMetOrderWithIconsAndPlurals) {
  State::Details* screen = Screen();
  ASSERT_NE(screen, nullptr);
  ASSERT_EQ(screen->Types().size(), 5u);
  const char* expected[] = {"TXT (1)", "PAL (1)", "PID (1)", "WAVs (2)", "wav (1)"};
  for (int row = 0; row < 5; ++row) {
    SCOPED_TRACE(row);
    const apptest::DrawnText label = harness.TextStartingWith(expected[row]);
    EXPECT_EQ(label.x, 40);
    EXPECT_EQ(label.y, 47 + 22 * row);
    // The count is yellow, the rest white.
    EXPECT_EQ(label.ColourAt(0), kWhite);
    EXPECT_EQ(label.ColourAt(label.text.find('(') + 1), kYellow);
    EXPECT_EQ(label.ColourAt(label.text.size() - 1), kWhite);
    const SHR::CBox* box = screen->TypeBox(static_cast<std::size_t>(row));
    apptest::ExpectPlaced(box, 3, 47 + 22 * row, 17, 24);
    EXPECT_FALSE(box->isSelected());
    const auto icon = SHR::TypeIconFor(screen->Types()[row].extension);
    EXPECT_TRUE(harness.DrewSprite(*harness.app.art->typeIcons[icon], 22, 51 + 22 * row));
  }
  // A list this short has no scroll bar.
  harness.Wheel(90, 150, -5);
  EXPECT_EQ(screen->FirstVisibleRow(), 0);
  EXPECT_TRUE(screen->TypeBox(4)->isVisible());
}

TEST_F(DetailsScreen, TitleColumnsAndOptions) {
  const apptest::DrawnText title = harness.TextStartingWith("Step 2/4: options and details of ");
  const std::string size = SizeText(static_cast<std::int64_t>(fs::file_size(archive)));
  EXPECT_EQ(title.text, "Step 2/4: options and details of claw.rez (" + size + ")");
  EXPECT_EQ(title.x, 3);
  EXPECT_EQ(title.y, 3);
  EXPECT_EQ(title.ColourAt(title.text.find("claw.rez")), kYellow);
  EXPECT_EQ(title.ColourAt(title.text.find(size)), kGreen);
  EXPECT_EQ(title.ColourAt(title.text.size() - 1), kWhite);
  EXPECT_EQ(harness.TextStartingWith("Which types extract?").y, 25);
  EXPECT_EQ(harness.TextStartingWith("Convert PID to PNG").x, 205);
  EXPECT_EQ(harness.TextStartingWith("Extract empty folders").y, 74);
  constexpr std::uint32_t kLight = 0xFF5C5C5C, kDark = 0xFF1F1F1F;
  const struct {
    float x1, y1, x2, y2;
    std::uint32_t colour;
  } lines[] = {{181, 29, 181, 263, kLight}, {0, 29, 600, 29, kLight}, {180, 151, 600, 151, kLight},
               {180, 28, 180, 263, kDark},  {0, 28, 600, 28, kDark},  {180, 150, 600, 150, kDark}};
  for (const auto& l : lines)
    EXPECT_TRUE(harness.DrewLine(l.x1, l.y1, l.x2, l.y2, l.colour)) << l.x1 << "," << l.y1;
  State::Details* screen = Screen();
  apptest::ExpectPlaced(screen->PidBox(), 190, 30, 17, 24);
  apptest::ExpectPlaced(screen->RectBox(), 210, 52, 17, 24);
  EXPECT_FALSE(screen->RectBox()->isEnabled());
  apptest::ExpectPlaced(screen->EmptyFoldersBox(), 190, 74, 17, 24);
  EXPECT_TRUE(screen->EmptyFoldersBox()->isEnabled());
  apptest::ExpectPlaced(screen->BackButton(), 390, 262, 100, 33);
  apptest::ExpectPlaced(screen->NextButton(), 495, 262, 100, 33);
}

TEST_F(DetailsScreen, RectConversionFollowsPidConversion) {
  EXPECT_EQ(harness.TextStartingWith("Rect conversion").ColourAt(0), kGrey);
  ClickBox(210, 52);  // disabled: no tick
  EXPECT_FALSE(Screen()->RectBox()->isSelected());
  ClickBox(190, 30);
  EXPECT_TRUE(Screen()->RectBox()->isEnabled());
  ClickBox(210, 52);
  EXPECT_TRUE(Screen()->RectBox()->isSelected());
  EXPECT_EQ(harness.TextStartingWith("Rect conversion").ColourAt(0), kWhite);
  ClickBox(190, 30);  // PID conversion off again
  harness.Frame();
  EXPECT_FALSE(Screen()->RectBox()->isEnabled());
  EXPECT_TRUE(Screen()->RectBox()->isSelected());
  EXPECT_EQ(harness.TextStartingWith("Rect conversion").ColourAt(0), kGrey);
  const ExtractOptions options = Screen()->BuildOptions();
  EXPECT_FALSE(options.convertPid);
  EXPECT_TRUE(options.rectConversion);
}

TEST_F(DetailsScreen, TotalsFollowTheTicksAndNextWarnsAsksAndStartsStepThree) {
  EXPECT_EQ(Total("Files to extract:"), "Files to extract: 0");
  EXPECT_EQ(Total("Estimated size:"), "Estimated size: 0 bytes");
  EXPECT_EQ(harness.TextStartingWith("Files to extract:").x, 185);
  EXPECT_EQ(harness.TextStartingWith("Estimated size:").y, 174);
  TickType(3);  // WAV: "sound a" and "sound bb"
  TickType(0);  // TXT: "hello\n"
  harness.Frame();
  EXPECT_EQ(Total("Files to extract:"), "Files to extract: 3");
  EXPECT_EQ(Total("Estimated size:"), "Estimated size: 21 bytes");
  TickType(3);
  harness.Frame();
  EXPECT_EQ(Total("Files to extract:"), "Files to extract: 1");

  TickType(2);
  TickType(4);
  ClickBox(190, 74);
  harness.boxes.Answer(MessageBoxAnswer::kOk);
  harness.boxes.Answer(MessageBoxAnswer::kNo);
  harness.Click(545, 278);
  harness.Frame();
  auto shown = harness.boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  const std::string advice = SizeText(3 * static_cast<std::int64_t>(fs::file_size(archive)));
  EXPECT_EQ(shown[0].text, "Remember that you need at least " + advice +
                               " free space on destination drive\nto ensure valid extraction. "
                               "Otherwise extracted files may be corrupted or\nincomplete.");
  apptest::ExpectBox(shown[0], "Notice", MessageBoxButtons::kOk, MessageBoxIcon::kInformation);
  EXPECT_EQ(shown[1].text, "Archive will be now extracted. Are you sure you want to proceed?");
  apptest::ExpectBox(shown[1], "Notice", MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion);
  ASSERT_NE(Screen(), nullptr);  // No: still here

  harness.Click(545, 278);  // Return answers: OK, then Yes
  harness.Frame();
  State::Extract* extract = harness.TopAs<State::Extract>();
  ASSERT_NE(extract, nullptr);
  const ExtractOptions& options = extract->Job()->options;
  EXPECT_EQ(options.fileCount, 3);
  EXPECT_FALSE(options.convertPid);
  EXPECT_FALSE(options.rectConversion);
  EXPECT_TRUE(options.extractEmptyFolders);
  EXPECT_FALSE(options.overwriteAll);
  ASSERT_EQ(options.types.size(), 5u);
  const std::pair<const char*, bool> types[] = {
      {"TXT", true}, {"PAL", false}, {"PID", true}, {"WAV", false}, {"wav", true}};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(options.types[i].name, types[i].first);
    EXPECT_EQ(options.types[i].selected, types[i].second) << types[i].first;
  }
}

TEST_F(DetailsScreen, BackKeepsBothPathsAndNothingTickedStillProceeds) {
  harness.Click(440, 278);
  harness.Frame();
  State::Select* select = harness.TopAs<State::Select>();
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->SourceField()->getText(), archive.string());
  EXPECT_EQ(select->DestinationField()->getText(), destination.string());
  EXPECT_FALSE(select->NextButton()->isEnabled());

  Open(archive);
  harness.Click(545, 278);
  harness.Frame();
  State::Extract* extract = harness.TopAs<State::Extract>();
  ASSERT_NE(extract, nullptr);
  EXPECT_EQ(extract->Job()->options.fileCount, 0);
}

TEST_F(DetailsScreen, LongTypeListScrolls) {
  // Fourteen types in one folder; the last, LOG, has two files.
  std::vector<rezbuild::Node> files;
  for (const char* type : {"WAV", "XMI", "TXT", "PAL", "PID", "PCX", "WWD", "ANI", "DAT", "BIN",
                           "CFG", "MID", "FNT", "LOG"})
    files.push_back(rezbuild::FileNode(std::string("ONE_") + type, type, "x"));
  files.push_back(rezbuild::FileNode("TWO_LOG", "LOG", "yy"));
  const fs::path many = temp / "many.rez";
  rezbuild::Write(many, rezbuild::Folder("ROOT", {rezbuild::Folder("STUFF", files)}));
  Open(many);
  State::Details* screen = Screen();
  ASSERT_EQ(screen->Types().size(), 14u);
  ASSERT_EQ(screen->VisibleRows(), 9);
  // Rows below the column are neither shown nor clickable.
  EXPECT_TRUE(screen->TypeBox(8)->isVisible());
  EXPECT_FALSE(screen->TypeBox(9)->isVisible());
  EXPECT_TRUE(harness.HasText("DAT (1)"));
  EXPECT_FALSE(harness.HasText("BIN (1)"));
  for (const apptest::DrawnText& text : harness.Texts())
    EXPECT_TRUE(text.x != 40 || text.y < 263 - 22) << text.text;

  harness.Wheel(90, 150, 3);  // up: already at the top
  EXPECT_EQ(screen->FirstVisibleRow(), 0);
  harness.Wheel(90, 150, -10);  // far down: stops with the last type in the last row
  EXPECT_EQ(screen->FirstVisibleRow(), 5);
  harness.Frame();
  EXPECT_EQ(harness.TextStartingWith("LOGs (2)").y, 47 + 22 * 8);
  EXPECT_FALSE(screen->TypeBox(0)->isVisible());
  EXPECT_EQ(screen->TypeBox(13)->getY(), 47 + 22 * 8);
  TickType(8);
  EXPECT_TRUE(screen->TypeBox(13)->isSelected());
  harness.Frame();
  EXPECT_EQ(Total("Files to extract:"), "Files to extract: 2");

  harness.Wheel(300, 150, 2);  // over the options: the list stays
  EXPECT_EQ(screen->FirstVisibleRow(), 5);
  harness.Click(175, 50);  // top of the scroll bar
  EXPECT_EQ(screen->FirstVisibleRow(), 0);
}

}  // namespace
