#include <gtest/gtest.h>

#include <memory>

#include "AppHarness.h"
#include "app/Shell.h"
#include "app/states/Select.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wSkin.h"
#include "text/BitmapFont.h"

namespace {

using apptest::AppHarness;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;

ResourceFinder Without(std::string_view missingName, std::string_view missingType) {
  return [missingName, missingType](std::string_view name, std::string_view type) {
    if (name == missingName && type == missingType) return std::optional<platform::ResourceBytes>();
    return platform::FindResource(name, type);
  };
}

class FailingEngine : public RecordingEngine {
 public:
  bool System_Initiate() override { return false; }
  const char* System_GetErrorMessage() override { return "No display could be opened."; }
};

TEST(StartUp, ConfiguresTheEngineLoadsTheSkinAndOpensStepOne) {
  AppHarness harness;
  ASSERT_EQ(harness.startUp, StartUpResult::Ready);
  RecordingEngine& engine = *harness.engine;
  EXPECT_EQ(engine.title, "Tarnwick 1.1a");
  EXPECT_EQ(engine.screenWidth, 600);
  EXPECT_EQ(engine.screenHeight, 300);
  EXPECT_EQ(engine.fps, 30);
  EXPECT_EQ(engine.icon, 100);
  for (const auto& [state, on] : {std::pair{HGE_WINDOWED, true},
                                  {HGE_USESOUND, false},
                                  {HGE_SHOWSPLASH, false},
                                  {HGE_TEXTUREFILTER, false},
                                  {HGE_DONTSUSPEND, true},
                                  {HGE_HIDEMOUSE, false}})
    EXPECT_EQ(engine.boolStates[state], on) << state;
  ASSERT_TRUE(engine.frameFunc && engine.renderFunc && engine.exitFunc);
  EXPECT_EQ(harness.boxes.Count(), 0u);

  AppContext& app = harness.app;
  EXPECT_EQ(engine.Texture_GetWidth(app.skinTexture, false), 512);
  EXPECT_EQ(app.mainFont->GetHeight(), 24);
  EXPECT_EQ(app.art->titleLogo->GetWidth(), 287);
  EXPECT_EQ(app.art->infoIcon->GetWidth(), 14);
  ASSERT_NE(app.skin->guiFonts[0], nullptr);
  SHR::But button(app.skin.get(), "x");  // the first toolkit font is every widget's font
  EXPECT_EQ(button.getFont(), app.skin->guiFonts[0].get());

  // Step 1 is only requested: it arrives with the first frame.
  EXPECT_EQ(harness.Top(), nullptr);
  EXPECT_FALSE(engine.frameFunc());
  EXPECT_NE(harness.TopAs<State::Select>(), nullptr);
  EXPECT_FALSE(engine.renderFunc());
  EXPECT_EQ(engine.scenesBegun, 1);
  EXPECT_EQ(engine.scenesEnded, 1);
  EXPECT_TRUE(engine.exitFunc());  // no screen refuses to let the program end
}

TEST(StartUp, EachMissingResourceIsReportedAsACorruptedExecutable) {
  for (const auto& [name, type] :
       {std::pair{"Main", "PNG"}, {"Myriad20", "PNG"}, {"Myriad20", "FNT"}}) {
    SCOPED_TRACE(std::string(name) + "/" + type);
    AppHarness harness(Without(name, type));
    EXPECT_EQ(harness.startUp, StartUpResult::ResourceMissing);
    const auto boxes = harness.boxes.Shown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Executable is corrupted. Please reinstall Tarnwick.");
    apptest::ExpectBox(boxes[0], "Fatal error", MessageBoxButtons::kOk, MessageBoxIcon::kError);
    EXPECT_EQ(boxes[0].owner, nullptr);
  }
}

TEST(RunProgram, ExitCodes) {
  apptest::BoxScript boxes;
  auto engine = std::make_unique<RecordingEngine>();
  engine->maxFrames = 3;
  hgeInstall(std::move(engine));
  EXPECT_EQ(RunProgram(platform::FindResource), 0);
  hgeInstall(std::make_unique<RecordingEngine>());
  EXPECT_EQ(RunProgram(Without("Myriad20", "FNT")), 1);
  EXPECT_EQ(boxes.Count(), 1u);

  // A window that cannot be opened is reported with the engine's own words.
  hgeInstall(std::make_unique<FailingEngine>());
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunProgram(platform::FindResource), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("No display could be opened."),
            std::string::npos);
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "No display could be opened.");
  apptest::ExpectBox(shown[1], "Fatal error", MessageBoxButtons::kOk, MessageBoxIcon::kError);
}

TEST(StepOne, DrawsTheCommonFrameAndOpensTheAboutBoxOnlyStrictlyInsideTheIcon) {
  AppHarness harness;
  harness.Frame();
  EXPECT_TRUE(harness.DrewLine(0, 28, 600, 28, 0xFF1F1F1F));
  EXPECT_TRUE(harness.DrewLine(0, 29, 600, 29, 0xFF5C5C5C));
  const apptest::DrawnText title =
      harness.TextStartingWith("Step 1/4: select source file and destination path");
  EXPECT_EQ(title.y, 3);
  EXPECT_EQ(title.ColourAt(0), 0xFFFFFFFFu);
  EXPECT_TRUE(harness.DrewSprite(*harness.app.art->titleLogo, 2, 263));
  EXPECT_TRUE(harness.DrewSprite(*harness.app.art->infoIcon, 581, 7));

  for (const auto& [x, y] : {std::pair{581.0f, 14.0f},
                             {595.0f, 14.0f},
                             {588.0f, 7.0f},
                             {588.0f, 21.0f},
                             {581.0f, 7.0f}}) {
    harness.Click(x, y);
    EXPECT_EQ(harness.boxes.Count(), 0u) << x << "," << y;
  }
  harness.Click(582, 8);
  const auto shown = harness.boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  apptest::ExpectBox(shown[0], "Notice", MessageBoxButtons::kOk, MessageBoxIcon::kInformation);
  EXPECT_EQ(shown[0].owner, harness.app.Window());
  for (const char* part : {"Tarnwick 1.1a", "DevIL", "SDL2"})
    EXPECT_NE(shown[0].text.find(part), std::string::npos) << part;
  harness.Click(594, 20);
  EXPECT_EQ(harness.boxes.Count(), 2u);
}

}  // namespace
