#include <gtest/gtest.h>

#include <filesystem>

#include "AppHarness.h"
#include "app/states/Details.h"
#include "app/states/Extract.h"
#include "app/states/Select.h"
#include "extract/ExtractJob.h"
#include "extract/Formatting.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wTextField.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

namespace {

using apptest::AppHarness;
using platform::MessageBoxAnswer;
namespace fs = std::filesystem;

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
  std::string Total(const std::string& label) { return harness.TextStartingWith(label); }

  TempDir temp;
  fs::path archive = temp / "c~r~law.rez";  // a name is drawn as it is
  fs::path destination = temp.path();
  AppHarness harness;
};

TEST_F(DetailsScreen, TotalsFollowTheTicksAndNextWarnsAsksAndStartsStepThree) {
  EXPECT_NE(Total("Step 2/4").find("of c~r~law.rez ("), std::string::npos);
  EXPECT_EQ(Total("Files to extract:"), "Files to extract: 0");
  EXPECT_EQ(Total("Estimated size:"), "Estimated size: 0 bytes");
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
  ClickBox(190, 74);  // empty folders
  ClickBox(190, 96);  // XMI to MIDI, not PCX to PNG
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
  EXPECT_EQ(shown[1].text, "Archive will be now extracted. Are you sure you want to proceed?");
  ASSERT_NE(Screen(), nullptr);  // No: still here

  harness.Click(545, 278);  // Return answers: OK, then Yes
  harness.Frame();
  State::Extract* extract = harness.TopAs<State::Extract>();
  ASSERT_NE(extract, nullptr);
  const ExtractOptions& o = extract->Job()->options;
  EXPECT_EQ(o.fileCount, 3);
  EXPECT_EQ((std::vector<bool>{o.convertPid, o.rectConversion, o.extractEmptyFolders,
                               o.overwriteAll, o.convertXmi, o.convertPcx}),
            (std::vector<bool>{false, false, true, false, true, false}));
  std::string types;
  for (const auto& type : o.types) types += type.name + (type.selected ? "+ " : "- ");
  EXPECT_EQ(types, "TXT+ PAL- PID+ WAV- wav+ ");
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
  EXPECT_TRUE(harness.FramesUntil([&] { return extract->NextButton()->isEnabled(); }, 200));
}

}  // namespace
