#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AppHarness.h"
#include "ArchiveFixtures.h"
#include "app/states/Details.h"
#include "app/states/Extract.h"
#include "app/states/Select.h"
#include "extract/ExtractJob.h"
#include "extract/Formatting.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wSkin.h"
#include "gcnWidgets/wTextField.h"
#include "support/TempDir.h"
#include "text/BitmapFont.h"

namespace {

using apptest::AppHarness;
using platform::MessageBoxAnswer;
namespace fs = std::filesystem;

constexpr std::uint32_t kWhite = 0xFFFFFFFF, kYellow = 0xFFFFFF00, kGreen = 0xFF00FF00,
                        kGrey = 0xFF777777;

// Centre of the check box at (x, y).
void ClickBox(AppHarness& harness, int x, int y) {
  harness.Click(x + 8, y + 12);
}

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
  void TickType(int row) { ClickBox(harness, 3, 47 + 22 * row); }

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
    const std::size_t digit = label.text.find('(') + 1;
    EXPECT_EQ(label.ColourAt(0), kWhite);
    EXPECT_EQ(label.ColourAt(digit), kYellow);
    EXPECT_EQ(label.ColourAt(label.text.size() - 1), kWhite);

    const SHR::CBox* box = screen->TypeBox(static_cast<std::size_t>(row));
    EXPECT_EQ(box->getX(), 3);
    EXPECT_EQ(box->getY(), 47 + 22 * row);
    EXPECT_EQ(box->getWidth(), 17);
    EXPECT_EQ(box->getHeight(), 24);
    EXPECT_FALSE(box->isSelected());

    const Sprite& icon =
        *harness.app.art->typeIcons[SHR::TypeIconFor(screen->Types()[row].extension)];
    const std::vector<hgeQuad> quads = harness.engine->Quads();
    const bool drawn = std::any_of(quads.begin(), quads.end(), [&](const hgeQuad& quad) {
      return quad.v[0].x == 22 && quad.v[0].y == 51 + 22 * row &&
             quad.v[0].tx == icon.GetQuad().v[0].tx && quad.v[0].ty == icon.GetQuad().v[0].ty;
    });
    EXPECT_TRUE(drawn);
  }
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

  const auto lines = harness.engine->Lines();
  auto has = [&](float x1, float y1, float x2, float y2, std::uint32_t colour) {
    return std::any_of(lines.begin(), lines.end(), [&](const RecordingEngine::Line& l) {
      return l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2 && l.color == colour;
    });
  };
  EXPECT_TRUE(has(181, 29, 181, 263, 0xFF5C5C5C));
  EXPECT_TRUE(has(0, 29, 600, 29, 0xFF5C5C5C));
  EXPECT_TRUE(has(180, 151, 600, 151, 0xFF5C5C5C));
  EXPECT_TRUE(has(180, 28, 180, 263, 0xFF1F1F1F));
  EXPECT_TRUE(has(0, 28, 600, 28, 0xFF1F1F1F));
  EXPECT_TRUE(has(180, 150, 600, 150, 0xFF1F1F1F));

  State::Details* screen = Screen();
  EXPECT_EQ(screen->PidBox()->getX(), 190);
  EXPECT_EQ(screen->PidBox()->getY(), 30);
  EXPECT_EQ(screen->RectBox()->getX(), 210);
  EXPECT_EQ(screen->RectBox()->getY(), 52);
  EXPECT_FALSE(screen->RectBox()->isEnabled());
  EXPECT_EQ(screen->EmptyFoldersBox()->getY(), 74);
  EXPECT_TRUE(screen->EmptyFoldersBox()->isEnabled());
  EXPECT_EQ(screen->BackButton()->getX(), 390);
  EXPECT_EQ(screen->BackButton()->getY(), 262);
  EXPECT_EQ(screen->BackButton()->getWidth(), 100);
  EXPECT_EQ(screen->NextButton()->getX(), 495);
  EXPECT_EQ(screen->NextButton()->getHeight(), 33);
}

TEST_F(DetailsScreen, TotalsFollowTheTicks) {
  EXPECT_EQ(harness.TextStartingWith("Files to extract:").text, "Files to extract: 0");
  EXPECT_EQ(harness.TextStartingWith("Estimated size:").text, "Estimated size: 0 bytes");
  EXPECT_EQ(harness.TextStartingWith("Files to extract:").x, 185);
  EXPECT_EQ(harness.TextStartingWith("Estimated size:").y, 174);
  TickType(3);  // WAV: "sound a" and "sound bb"
  TickType(0);  // TXT: "hello\n"
  harness.Frame();
  EXPECT_EQ(harness.TextStartingWith("Files to extract:").text, "Files to extract: 3");
  EXPECT_EQ(harness.TextStartingWith("Estimated size:").text, "Estimated size: 21 bytes");
  TickType(3);
  harness.Frame();
  EXPECT_EQ(harness.TextStartingWith("Files to extract:").text, "Files to extract: 1");
}

TEST_F(DetailsScreen, RectConversionFollowsPidConversion) {
  EXPECT_EQ(harness.TextStartingWith("Rect conversion").ColourAt(0), kGrey);
  ClickBox(harness, 210, 52);  // disabled: no tick
  EXPECT_FALSE(Screen()->RectBox()->isSelected());
  ClickBox(harness, 190, 30);
  EXPECT_TRUE(Screen()->RectBox()->isEnabled());
  ClickBox(harness, 210, 52);
  EXPECT_TRUE(Screen()->RectBox()->isSelected());
  EXPECT_EQ(harness.TextStartingWith("Rect conversion").ColourAt(0), kWhite);
  ClickBox(harness, 190, 30);  // PID conversion off again
  harness.Frame();
  EXPECT_FALSE(Screen()->RectBox()->isEnabled());
  EXPECT_TRUE(Screen()->RectBox()->isSelected());
  EXPECT_EQ(harness.TextStartingWith("Rect conversion").ColourAt(0), kGrey);
  const ExtractOptions options = Screen()->BuildOptions();
  EXPECT_FALSE(options.convertPid);
  EXPECT_TRUE(options.rectConversion);
}

TEST_F(DetailsScreen, NextWarnsAsksAndStartsStepThree) {
  TickType(2);
  TickType(4);
  ClickBox(harness, 190, 74);
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
  EXPECT_EQ(shown[0].title, "Notice");
  EXPECT_EQ(shown[0].buttons, platform::MessageBoxButtons::kOk);
  EXPECT_EQ(shown[0].icon, platform::MessageBoxIcon::kInformation);
  EXPECT_EQ(shown[1].text, "Archive will be now extracted. Are you sure you want to proceed?");
  EXPECT_EQ(shown[1].title, "Notice");
  EXPECT_EQ(shown[1].buttons, platform::MessageBoxButtons::kYesNo);
  EXPECT_EQ(shown[1].icon, platform::MessageBoxIcon::kQuestion);
  ASSERT_NE(Screen(), nullptr);  // No: still here

  harness.Click(545, 278);  // Return answers: OK, then Yes
  harness.Frame();
  State::Extract* extract = harness.TopAs<State::Extract>();
  ASSERT_NE(extract, nullptr);
  const ExtractOptions& options = extract->Job()->options;
  EXPECT_EQ(options.fileCount, 2);
  EXPECT_FALSE(options.convertPid);
  EXPECT_FALSE(options.rectConversion);
  EXPECT_TRUE(options.extractEmptyFolders);
  EXPECT_FALSE(options.overwriteAll);
  ASSERT_EQ(options.types.size(), 5u);
  EXPECT_EQ(options.types[2].name, "PID");
  EXPECT_TRUE(options.types[2].selected);
  EXPECT_EQ(options.types[3].name, "WAV");
  EXPECT_FALSE(options.types[3].selected);
  EXPECT_EQ(options.types[4].name, "wav");
  EXPECT_TRUE(options.types[4].selected);
}

TEST_F(DetailsScreen, NothingTickedStillProceeds) {
  harness.Click(545, 278);
  harness.Frame();
  State::Extract* extract = harness.TopAs<State::Extract>();
  ASSERT_NE(extract, nullptr);
  EXPECT_EQ(extract->Job()->options.fileCount, 0);
}

TEST_F(DetailsScreen, BackKeepsBothPaths) {
  harness.Click(440, 278);
  harness.Frame();
  State::Select* select = harness.TopAs<State::Select>();
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(select->SourceField()->getText(), archive.string());
  EXPECT_EQ(select->DestinationField()->getText(), destination.string());
  EXPECT_FALSE(select->NextButton()->isEnabled());
}

TEST_F(DetailsScreen, LongTypeListScrolls) {
  const fs::path many = temp / "many.rez";
  apptest::WriteManyTypesArchive(many);
  Open(many);
  State::Details* screen = Screen();
  ASSERT_EQ(screen->Types().size(), 14u);
  ASSERT_EQ(screen->VisibleRows(), 9);
  // Rows below the column are neither shown nor clickable.
  EXPECT_TRUE(screen->TypeBox(8)->isVisible());
  EXPECT_FALSE(screen->TypeBox(9)->isVisible());
  EXPECT_TRUE(harness.HasText("DAT (1)"));
  EXPECT_FALSE(harness.HasText("BIN (1)"));
  for (const apptest::DrawnText& text : harness.Texts()) {
    if (text.x == 40) {
      EXPECT_LT(text.y, 263 - 22) << text.text;
    }
  }

  harness.Wheel(90, 150, 3);  // up: already at the top
  EXPECT_EQ(screen->FirstVisibleRow(), 0);
  harness.Wheel(90, 150, -10);  // far down: stops with the last type in the last row
  EXPECT_EQ(screen->FirstVisibleRow(), 5);
  harness.Frame();
  const apptest::DrawnText last = harness.TextStartingWith("LOGs (2)");
  EXPECT_EQ(last.y, 47 + 22 * 8);
  EXPECT_FALSE(screen->TypeBox(0)->isVisible());
  EXPECT_EQ(screen->TypeBox(13)->getY(), 47 + 22 * 8);
  TickType(8);
  EXPECT_TRUE(screen->TypeBox(13)->isSelected());
  harness.Frame();
  EXPECT_EQ(harness.TextStartingWith("Files to extract:").text, "Files to extract: 2");

  harness.Wheel(300, 150, 2);  // over the options: the list stays
  EXPECT_EQ(screen->FirstVisibleRow(), 5);
  harness.Click(175, 50);  // top of the scroll bar
  EXPECT_EQ(screen->FirstVisibleRow(), 0);
}

TEST_F(DetailsScreen, ShortListHasNoScrollBar) {
  harness.Wheel(90, 150, -5);
  EXPECT_EQ(Screen()->FirstVisibleRow(), 0);
  EXPECT_TRUE(Screen()->TypeBox(4)->isVisible());
}

}  // namespace
