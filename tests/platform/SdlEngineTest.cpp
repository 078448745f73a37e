#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "PlatformTestSupport.h"
#include "platform/Modal.h"
#include "platform/SdlEngine.h"
#include "support/SdlEngineProbe.h"

namespace {

hgeQuad SolidQuad(float x, float y, float w, float h, std::uint32_t argb) {
  hgeQuad quad;
  const float corners[4][2] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  for (int i = 0; i < 4; ++i) {
    quad.v[i].x = corners[i][0];
    quad.v[i].y = corners[i][1];
    quad.v[i].col = argb;
  }
  return quad;
}

TEST(SdlEngineStartUp, RefusesToRunWithoutAVisibleDisplay) {
  ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
  ScopedEnv display("DISPLAY", std::string(":987"));
  ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  SdlEngine engine;
  EXPECT_FALSE(engine.System_Initiate());
  EXPECT_NE(std::string(engine.System_GetErrorMessage()).find("display"), std::string::npos);
  EXPECT_FALSE(engine.System_Start());
}

class SdlEngineDrawing : public ::testing::Test {
 protected:
  void SetUp() override { engine = OffscreenEngine(); }
  // Draws one frame and keeps what is on screen.
  void Draw(const std::function<void()>& drawing) {
    ASSERT_TRUE(engine->Gfx_BeginScene(0));
    drawing();
    engine->Gfx_EndScene();
    shown = SdlEngineProbe::ShownFrame(*engine);
    ASSERT_EQ(shown.size(), 600u * 300u);
  }
  std::uint32_t PixelAt(int x, int y) const {
    return shown.at(static_cast<std::size_t>(y) * 600 + x) | 0xFF000000;
  }
  std::unique_ptr<SdlEngine> engine;
  std::vector<std::uint32_t> shown;
};

TEST_F(SdlEngineDrawing, TexturedQuadSamplesNearestAndMultipliesVertexColour) {
  // Two texels side by side, stretched over 40 pixels: a sharp edge in the middle.
  const std::string png = PngBytes(2, 1, [](int x, int) { return x ? 0xFF0000FF : 0xFFFF0000; });
  hgeQuad quad = SolidQuad(10, 10, 40, 20, 0xFFFFFFFF);
  quad.tex = engine->Texture_Load(png.data(), png.size(), false);
  EXPECT_EQ(engine->Texture_GetWidth(quad.tex), 2);
  EXPECT_EQ(engine->Texture_Load(png.data(), png.size() / 2, false), 0u);
  const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 4; ++i) {
    quad.v[i].tx = uv[i][0];
    quad.v[i].ty = uv[i][1];
  }
  hgeQuad tinted = quad;
  for (auto& vertex : tinted.v) {
    vertex.y += 40;
    vertex.col = 0xFF808080;  // half brightness
  }
  Draw([&] {
    engine->Gfx_RenderQuad(&quad);
    engine->Gfx_RenderQuad(&tinted);
    engine->Gfx_RenderLine(0, 128, 600, 128, 0xFF1F1F1F, 0.5f);
  });
  EXPECT_EQ(PixelAt(29, 20), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(30, 20), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(60, 20), 0xFF000000u);  // outside the quad
  EXPECT_NEAR(static_cast<int>(PixelAt(15, 60) >> 16 & 0xFF), 0x80, 2);
  EXPECT_EQ(PixelAt(300, 128), 0xFF1F1F1Fu);
}

TEST_F(SdlEngineDrawing, ClippingLimitsDrawingAndAnEmptyAreaHidesAll) {
  hgeQuad green = SolidQuad(0, 0, 600, 300, 0xFF00FF00);
  Draw([&] {
    engine->Gfx_SetClipping(100, 50, 20, 10);
    engine->Gfx_RenderQuad(&green);
  });
  EXPECT_EQ(PixelAt(119, 59), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(120, 59), 0xFF000000u);
  EXPECT_EQ(PixelAt(99, 50), 0xFF000000u);

  Draw([&] {
    engine->Gfx_SetClipping(700, 400, 10, 10);
    engine->Gfx_RenderQuad(&green);
    engine->Gfx_SetClipping();
    engine->Gfx_RenderLine(0, 5, 600, 5, 0xFFFFFFFF, 0.5f);
  });
  EXPECT_EQ(PixelAt(10, 10), 0xFF000000u);
  EXPECT_EQ(PixelAt(10, 5), 0xFFFFFFFFu);
}

TEST_F(SdlEngineDrawing, AnUnchangedFrameIsNotShownAgainUntilTheWindowNeedsIt) {
  hgeQuad grey = SolidQuad(10, 10, 50, 50, 0xFF808080);
  const auto frame = [&](const hgeQuad& quad) {
    engine->Gfx_BeginScene(0);
    engine->Gfx_RenderQuad(&quad);
    engine->Gfx_EndScene();
  };
  frame(grey);
  const long first = SdlEngineProbe::PresentedFrames(*engine);
  frame(grey);
  EXPECT_EQ(SdlEngineProbe::PresentedFrames(*engine), first);
  hgeQuad moved = grey;
  moved.v[2].x += 1;
  frame(moved);
  EXPECT_EQ(SdlEngineProbe::PresentedFrames(*engine), first + 1);
  // The window system may have lost the content: the same frame is shown again.
  SDL_Event exposed{};
  exposed.type = SDL_WINDOWEVENT;
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&exposed);
  engine->PumpInput();
  frame(moved);
  EXPECT_EQ(SdlEngineProbe::PresentedFrames(*engine), first + 2);
}

TEST(SdlEngineInput, TheWindowIgnoresInputWhileADialogIsUp) {
  auto engine = OffscreenEngine();
  engine->PumpInput();  // whatever the window's creation queued
  {
    platform::ModalScope dialog;
    PushEvent(SDL_MOUSEBUTTONDOWN, 10, 10);
    PushEvent(SDL_QUIT);
    EXPECT_FALSE(engine->PumpInput());
    EXPECT_FALSE(engine->Input_KeyDown(HGEK_LBUTTON));
  }
  PushEvent(SDL_MOUSEBUTTONDOWN, 10, 10);
  engine->PumpInput();
  EXPECT_TRUE(engine->Input_KeyDown(HGEK_LBUTTON));
}

// The frame loop's callbacks reach the test through these.
int framesRun = 0, rendersRun = 0, exitAsked = 0;

TEST(SdlEngineLoop, RunsFramesUntilOneEndsTheLoopAndAsksBeforeClosing) {
  auto engine = OffscreenEngine();
  EXPECT_FALSE(engine->System_Start());  // no frame callback

  framesRun = rendersRun = exitAsked = 0;
  engine->System_SetState(HGE_FRAMEFUNC, [] {
    // Closing is asked for twice; the exit callback refuses the first.
    if (++framesRun == 2 || framesRun == 4) PushEvent(SDL_QUIT);
    return framesRun > 50;  // only a safety stop
  });
  engine->System_SetState(HGE_RENDERFUNC, [] { return ++rendersRun < 0; });
  engine->System_SetState(HGE_EXITFUNC, [] { return ++exitAsked == 2; });
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(exitAsked, 2);
  EXPECT_EQ(framesRun, 4);
  EXPECT_EQ(rendersRun, 4);
  EXPECT_GT(engine->Timer_GetDelta(), 0.0f);
}

}  // namespace
