#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "PlatformTestSupport.h"
#include "platform/Modal.h"
#include "platform/SdlEngine.h"
#include "support/SdlEngineProbe.h"

namespace {

// The SDL engine on SDL's offscreen driver (asked for explicitly, so the engine
// accepts it), window 600x300, already initiated.
std::unique_ptr<SdlEngine> OffscreenEngine() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  auto engine = std::make_unique<SdlEngine>();
  engine->System_SetState(HGE_SCREENWIDTH, 600);
  engine->System_SetState(HGE_SCREENHEIGHT, 300);
  engine->System_SetState(HGE_WINDOWED, true);
  engine->System_SetState(HGE_TEXTUREFILTER, false);
  EXPECT_TRUE(engine->System_Initiate()) << engine->System_GetErrorMessage();
  return engine;
}

// A mouse button event (left button, at x, y) or any event that needs no fields.
void PushEvent(SDL_EventType type, int x = 0, int y = 0) {
  SDL_Event event{};
  event.type = type;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.button.x = x;
  event.button.y = y;
  SDL_PushEvent(&event);
}

hgeQuad Quad(float x, float y, float w, float h, std::uint32_t argb) {
  hgeQuad quad;
  const float corners[4][2] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  for (int i = 0; i < 4; ++i) quad.v[i] = {corners[i][0], corners[i][1], 0.5f, argb, 0, 0};
  return quad;
}

TEST(SdlEngine, RefusesToRunWithoutAVisibleDisplay) {
  ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
  ScopedEnv display("DISPLAY", std::string(":987"));
  ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  SdlEngine engine;
  EXPECT_FALSE(engine.System_Initiate());
  EXPECT_NE(std::string(engine.System_GetErrorMessage()).find("display"), std::string::npos);
  EXPECT_FALSE(engine.System_Start());
}

// Nearest sampling, vertex colour, clipping; an unchanged frame is not shown
// again until the window system may have lost it.
TEST(SdlEngine, DrawsQuadsAndLinesAndShowsOnlyChangedFrames) {
  auto engine = OffscreenEngine();
  // Two texels side by side, stretched over 40 pixels: a sharp edge in the middle.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 32, SDL_PIXELFORMAT_ARGB8888);
  static_cast<std::uint32_t*>(surface->pixels)[0] = 0xFFFF0000;
  static_cast<std::uint32_t*>(surface->pixels)[1] = 0xFF0000FF;
  std::vector<char> png(4096);
  SDL_RWops* stream = SDL_RWFromMem(png.data(), static_cast<int>(png.size()));
  ASSERT_EQ(IMG_SavePNG_RW(surface, stream, 0), 0);
  png.resize(static_cast<std::size_t>(SDL_RWtell(stream)));
  SDL_RWclose(stream);
  SDL_FreeSurface(surface);
  hgeQuad quad = Quad(10, 10, 40, 20, 0xFFFFFFFF);
  quad.tex = engine->Texture_Load(png.data(), png.size(), false);
  EXPECT_EQ(engine->Texture_Load(png.data(), png.size() / 2, false), 0u);
  const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 4; ++i) quad.v[i].tx = uv[i][0], quad.v[i].ty = uv[i][1];
  hgeQuad tinted = quad;
  for (auto& vertex : tinted.v) vertex.y += 40, vertex.col = 0xFF808080;  // half brightness
  const hgeQuad green = Quad(0, 0, 600, 300, 0xFF00FF00);
  std::vector<std::uint32_t> shown;
  const auto frame = [&](const std::function<void()>& drawing) {
    engine->Gfx_BeginScene(0);
    drawing();
    engine->Gfx_EndScene();
    shown = SdlEngineProbe::ShownFrame(*engine);
    ASSERT_EQ(shown.size(), 600u * 300u);
  };
  const auto at = [&](int x, int y) { return shown[y * 600 + x] | 0xFF000000; };
  frame([&] {
    engine->Gfx_RenderQuad(&quad);
    engine->Gfx_RenderQuad(&tinted);
    engine->Gfx_RenderLine(0, 128, 600, 128, 0xFF1F1F1F, 0.5f);
    engine->Gfx_SetClipping(100, 150, 20, 10);
    engine->Gfx_RenderQuad(&green);
    engine->Gfx_SetClipping(700, 400, 10, 10);  // nothing visible
    engine->Gfx_RenderQuad(&green);
    engine->Gfx_SetClipping();
  });
  EXPECT_EQ(at(29, 20), 0xFFFF0000u);
  EXPECT_EQ(at(30, 20), 0xFF0000FFu);
  EXPECT_EQ(at(60, 20), 0xFF000000u);
  EXPECT_NEAR(static_cast<int>(at(15, 60) >> 16 & 0xFF), 0x80, 2);
  EXPECT_EQ(at(300, 128), 0xFF1F1F1Fu);
  EXPECT_EQ(at(119, 159), 0xFF00FF00u);
  EXPECT_EQ(at(120, 159), 0xFF000000u);
  EXPECT_EQ(at(99, 150), 0xFF000000u);

  const long first = SdlEngineProbe::PresentedFrames(*engine);
  frame([&] { engine->Gfx_RenderQuad(&quad); });
  EXPECT_EQ(SdlEngineProbe::PresentedFrames(*engine), first + 1);
  frame([&] { engine->Gfx_RenderQuad(&quad); });
  EXPECT_EQ(SdlEngineProbe::PresentedFrames(*engine), first + 1);
  SDL_Event exposed{};
  exposed.type = SDL_WINDOWEVENT;
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&exposed);
  engine->PumpInput();
  frame([&] { engine->Gfx_RenderQuad(&quad); });
  EXPECT_EQ(SdlEngineProbe::PresentedFrames(*engine), first + 2);
}

TEST(SdlEngine, TheWindowIgnoresInputWhileADialogIsUp) {
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

TEST(SdlEngine, RunsFramesUntilOneEndsTheLoopAndAsksBeforeClosing) {
  auto engine = OffscreenEngine();
  EXPECT_FALSE(engine->System_Start());  // no frame callback
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
}

}  // namespace
