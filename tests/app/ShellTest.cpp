#include <gtest/gtest.h>

#include <guichan/widget.hpp>
#include <memory>

#include "AppHarness.h"
#include "app/ScreenFrame.h"
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

TEST(StartUp, ConfiguresTheEngineAndOpensStepOne) {
  AppHarness harness;
  ASSERT_EQ(harness.startUp, StartUpResult::Ready);
  RecordingEngine& engine = *harness.engine;
  EXPECT_EQ(engine.title, "Tarnwick 1.1a");
  EXPECT_EQ(engine.screenWidth, 600);
  EXPECT_EQ(engine.screenHeight, 300);
  EXPECT_EQ(engine.fps, 30);
  EXPECT_EQ(engine.icon, 100);
  EXPECT_TRUE(engine.boolStates[HGE_WINDOWED]);
  EXPECT_FALSE(engine.boolStates[HGE_USESOUND]);
  EXPECT_FALSE(engine.boolStates[HGE_SHOWSPLASH]);
  EXPECT_FALSE(engine.boolStates[HGE_TEXTUREFILTER]);
  EXPECT_TRUE(engine.boolStates[HGE_DONTSUSPEND]);
  EXPECT_FALSE(engine.boolStates[HGE_HIDEMOUSE]);
  ASSERT_NE(engine.frameFunc, nullptr);
  ASSERT_NE(engine.renderFunc, nullptr);
  ASSERT_NE(engine.exitFunc, nullptr);
  EXPECT_EQ(harness.boxes.Count(), 0u);

  // Step 1 is only requested: it arrives with the first frame.
  EXPECT_EQ(harness.Top(), nullptr);
  EXPECT_FALSE(engine.frameFunc());
  EXPECT_NE(harness.TopAs<State::Select>(), nullptr);
  EXPECT_FALSE(engine.renderFunc());
  EXPECT_EQ(engine.scenesBegun, 1);
  EXPECT_EQ(engine.scenesEnded, 1);
  // No screen refuses to let the program end.
  EXPECT_TRUE(engine.exitFunc());
}

TEST(StartUp, SkinAndFontComeFromTheResources) {
  AppHarness harness;
  AppContext& app = harness.app;
  EXPECT_EQ(harness.engine->Texture_GetWidth(app.skinTexture, false), 512);
  EXPECT_EQ(app.mainFont->GetHeight(), 24);
  EXPECT_EQ(app.art->titleLogo->GetWidth(), 287);
  EXPECT_EQ(app.art->infoIcon->GetWidth(), 14);
  ASSERT_NE(app.skin->guiFonts[0], nullptr);
  // The first toolkit font is every widget's font.
  SHR::But button(app.skin.get(), "x");
  EXPECT_EQ(button.getFont(), app.skin->guiFonts[0].get());
}

TEST(StartUp, EachMissingResourceIsReportedAsACorruptedExecutable) {
  const std::pair<const char*, const char*> resources[] = {
      {"Main", "PNG"}, {"Myriad20", "PNG"}, {"Myriad20", "FNT"}};
  for (const auto& [name, type] : resources) {
    SCOPED_TRACE(std::string(name) + "/" + type);
    AppHarness harness(Without(name, type));
    EXPECT_EQ(harness.startUp, StartUpResult::ResourceMissing);
    const auto boxes = harness.boxes.Shown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Executable is corrupted. Please reinstall Tarnwick.");
    EXPECT_EQ(boxes[0].title, "Fatal error");
    EXPECT_EQ(boxes[0].buttons, MessageBoxButtons::kOk);
    EXPECT_EQ(boxes[0].icon, MessageBoxIcon::kError);
    EXPECT_EQ(boxes[0].owner, nullptr);
  }
}

TEST(RunProgram, ExitCodes) {
  apptest::BoxScript boxes;
  {
    auto engine = std::make_unique<RecordingEngine>();
    engine->maxFrames = 3;
    hgeInstall(std::move(engine));
    EXPECT_EQ(RunProgram(platform::FindResource), 0);
  }
  hgeInstall(std::make_unique<RecordingEngine>());
  EXPECT_EQ(RunProgram(Without("Myriad20", "FNT")), 1);
  EXPECT_EQ(boxes.Count(), 1u);

  // A window that cannot be opened is reported with the engine's own words.
  hgeInstall(std::make_unique<FailingEngine>());
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunProgram(platform::FindResource), 0);
  const std::string stderrText = testing::internal::GetCapturedStderr();
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "No display could be opened.");
  EXPECT_EQ(shown[1].title, "Fatal error");
  EXPECT_EQ(shown[1].icon, MessageBoxIcon::kError);
  EXPECT_NE(stderrText.find("No display could be opened."), std::string::npos);
}

TEST(ScreenFrame, StepOneDrawsTheCommonFrame) {
  AppHarness harness;
  harness.Frame();
  const auto lines = harness.engine->Lines();
  auto hasLine = [&](float x1, float y1, float x2, float y2, std::uint32_t color) {
    for (const auto& line : lines)
      if (line.x1 == x1 && line.y1 == y1 && line.x2 == x2 && line.y2 == y2 && line.color == color &&
          line.z == 0.5f)
        return true;
    return false;
  };
  EXPECT_TRUE(hasLine(0, 28, 600, 28, 0xFF1F1F1F));
  EXPECT_TRUE(hasLine(0, 29, 600, 29, 0xFF5C5C5C));

  const apptest::DrawnText title =
      harness.TextStartingWith("Step 1/4: select source file and destination path");
  EXPECT_EQ(title.y, 3);
  EXPECT_EQ(title.ColourAt(0), 0xFFFFFFFFu);

  auto quadAt = [&](const Sprite& sprite, float x, float y) {
    for (const auto& quad : harness.engine->Quads())
      if (quad.tex == sprite.GetTexture() && quad.v[0].x == x && quad.v[0].y == y &&
          quad.v[0].tx == sprite.GetQuad().v[0].tx && quad.v[0].ty == sprite.GetQuad().v[0].ty)
        return true;
    return false;
  };
  EXPECT_TRUE(quadAt(*harness.app.art->titleLogo, 2, 263));
  EXPECT_TRUE(quadAt(*harness.app.art->infoIcon, 581, 7));
}

TEST(AboutBox, OnlyStrictlyInsideTheIcon) {
  AppHarness harness;
  harness.Frame();
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
  EXPECT_EQ(shown[0].title, "Notice");
  EXPECT_EQ(shown[0].buttons, MessageBoxButtons::kOk);
  EXPECT_EQ(shown[0].icon, MessageBoxIcon::kInformation);
  EXPECT_EQ(shown[0].owner, harness.app.Window());
  EXPECT_NE(shown[0].text.find("Tarnwick 1.1a"), std::string::npos);
  EXPECT_NE(shown[0].text.find("DevIL"), std::string::npos);
  EXPECT_NE(shown[0].text.find("SDL2"), std::string::npos);
  harness.Click(594, 20);
  EXPECT_EQ(harness.boxes.Count(), 2u);
}

}  // namespace
