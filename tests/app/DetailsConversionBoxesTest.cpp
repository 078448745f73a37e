// Step 2's music and PCX boxes: labelled, off at first, and what they say
// reaches the options step 3 receives.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/states/Details.h"
#include "gcnWidgets/wCheckBox.h"
#include "support/TempDir.h"

namespace {

TEST(DetailsConversionBoxes, StartOffAndReachTheOptions) {
  TempDir temp;
  apptest::WriteSmallArchive(temp / "claw.rez");
  apptest::AppHarness harness;
  harness.Frame();
  harness.Show(std::make_unique<State::Details>(harness.app, (temp / "claw.rez").string(),
                                                temp.path().string()));
  auto* screen = harness.TopAs<State::Details>();
  struct Box {
    SHR::CBox* box;
    int y;
    const char* label;
    bool ExtractOptions::*option;
  } boxes[] = {{screen->XmiBox(), 96, "Convert XMI to MIDI", &ExtractOptions::convertXmi},
               {screen->PcxBox(), 118, "Convert PCX to PNG", &ExtractOptions::convertPcx}};
  for (const Box& b : boxes) {
    SCOPED_TRACE(b.label);
    EXPECT_EQ(harness.TextStartingWith(b.label), b.label);
    EXPECT_FALSE(screen->BuildOptions().*b.option);
    harness.Click(190 + 8, b.y + 12);
    EXPECT_TRUE(b.box->isSelected());
    EXPECT_TRUE(screen->BuildOptions().*b.option);
  }
  // Each box ticks only its own option.
  harness.Click(190 + 8, 96 + 12);
  EXPECT_FALSE(screen->BuildOptions().convertXmi);
  EXPECT_TRUE(screen->BuildOptions().convertPcx);
}

}  // namespace
