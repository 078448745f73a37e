#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "PlatformTestSupport.h"
#include "platform/Modal.h"
#include "platform/SdlEngine.h"
#include "support/TempDir.h"

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

std::uint32_t PixelAt(const SdlEngine& engine, int x, int y) {
  return engine.CapturedFrame().at(static_cast<std::size_t>(y) * 600 + x) | 0xFF000000;
}

std::vector<hgeInputEvent> Drain(SdlEngine& engine) {
  std::vector<hgeInputEvent> events;
  hgeInputEvent event;
  while (engine.Input_GetEvent(&event)) events.push_back(event);
  return events;
}

TEST(Windows1252FromUtf8, KeepsPrintableLatinAndDropsTheRest) {
  EXPECT_EQ(platform::Windows1252FromUtf8("Az ~"), "Az ~");
  EXPECT_EQ(platform::Windows1252FromUtf8("\xC3\xA9\xC3\xBF\xC2\xA0"), "\xE9\xFF\xA0");
  // The euro sign, control characters, characters beyond Latin-1, broken sequences.
  EXPECT_EQ(platform::Windows1252FromUtf8("\xE2\x82\xAC\t\x7F\xC2\x85\xE4\xB8\xAD"), "");
  EXPECT_EQ(platform::Windows1252FromUtf8("a\xC3(b\xFF"), "a(b");
}

TEST(SdlEngineStartUp, RefusesToRunWithoutAVisibleDisplay) {
  ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
  ScopedEnv display("DISPLAY", std::string(":987"));
  ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  SdlEngine engine;
  engine.System_SetState(HGE_SCREENWIDTH, 600);
  engine.System_SetState(HGE_SCREENHEIGHT, 300);
  EXPECT_FALSE(engine.System_Initiate());
  EXPECT_NE(std::string(engine.System_GetErrorMessage()).find("display"), std::string::npos)
      << engine.System_GetErrorMessage();
  EXPECT_EQ(engine.System_GetState(HGE_HWND), nullptr);
  EXPECT_FALSE(engine.System_Start());
}

TEST(SdlEngineStartUp, OpensTheConfiguredWindowAsTheOneProcessEngine) {
  auto engine = OffscreenEngine();
  auto* window = static_cast<SDL_Window*>(engine->System_GetState(HGE_HWND));
  ASSERT_NE(window, nullptr);
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  EXPECT_EQ(width, 600);
  EXPECT_EQ(height, 300);
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Tarnwick 1.1a");
  EXPECT_EQ(engine->VideoDriver(), "offscreen");

  EXPECT_EQ(hgeCreate(0x17F), nullptr);
  hgeInstall(nullptr);
  HGE* first = hgeCreate(HGE_VERSION);
  EXPECT_NE(dynamic_cast<SdlEngine*>(first), nullptr);
  EXPECT_EQ(hgeCreate(HGE_VERSION), first);
  hgeInstall(nullptr);
}

TEST(SdlEngineLoading, TexturesDecodePngOnlyAndResourcesAreWholeFilesEndedByZero) {
  SdlEngine engine;  // textures and files can be loaded before the window exists
  const std::string png = PngBytes(5, 3, [](int, int) { return 0xFF102030; });
  const HTEXTURE texture = engine.Texture_Load(png.data(), png.size(), false);
  ASSERT_NE(texture, 0u);
  EXPECT_EQ(engine.Texture_GetWidth(texture, false), 5);
  EXPECT_EQ(engine.Texture_GetHeight(texture, false), 3);
  const std::string broken = png.substr(0, png.size() / 2);
  EXPECT_EQ(engine.Texture_Load(broken.data(), broken.size(), false), 0u);
  EXPECT_EQ(engine.Texture_Load("not a picture", 13, false), 0u);
  engine.Texture_Free(texture);
  EXPECT_EQ(engine.Texture_GetWidth(texture, false), 0);

  TempDir folder;
  std::ofstream(folder / "font.fnt", std::ios::binary) << std::string("[HGEFONT]\0x", 11);
  std::ofstream(folder / "empty.fnt", std::ios::binary);
  std::uint32_t size = 0;
  void* bytes = engine.Resource_Load((folder / "font.fnt").c_str(), &size);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(size, 11u);
  EXPECT_EQ(std::string(static_cast<const char*>(bytes), 12), std::string("[HGEFONT]\0x\0", 12));
  engine.Resource_Free(bytes);
  void* empty = engine.Resource_Load((folder / "empty.fnt").c_str(), &size);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(size, 0u);
  engine.Resource_Free(empty);
  EXPECT_EQ(engine.Resource_Load((folder / "missing.fnt").c_str(), &size), nullptr);
  EXPECT_EQ(engine.Resource_Load(folder.path().c_str(), &size), nullptr);  // a folder
}

class SdlEngineDrawing : public ::testing::Test {
 protected:
  void SetUp() override { engine = OffscreenEngine(); }
  void Draw(const std::function<void()>& drawing) {
    ASSERT_TRUE(engine->Gfx_BeginScene(0));
    drawing();
    engine->CaptureNextFrame();
    engine->Gfx_EndScene();
    ASSERT_FALSE(engine->CapturedFrame().empty());
  }
  std::unique_ptr<SdlEngine> engine;
};

TEST_F(SdlEngineDrawing, TexturedQuadSamplesNearestAndMultipliesVertexColour) {
  // Two texels side by side, stretched over 40 pixels: a sharp edge in the middle.
  const std::string png = PngBytes(2, 1, [](int x, int) { return x ? 0xFF0000FF : 0xFFFF0000; });
  hgeQuad quad = SolidQuad(10, 10, 40, 20, 0xFFFFFFFF);
  quad.tex = engine->Texture_Load(png.data(), png.size(), false);
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
  });
  EXPECT_EQ(PixelAt(*engine, 29, 20), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*engine, 30, 20), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*engine, 60, 20), 0xFF000000u);  // outside the quad
  const std::uint32_t dimmed = PixelAt(*engine, 15, 60);
  EXPECT_NEAR(static_cast<int>(dimmed >> 16 & 0xFF), 0x80, 2);
  EXPECT_EQ(dimmed & 0xFFFF, 0u);
}

TEST_F(SdlEngineDrawing, AlphaBlendingMixesAndLinesKeepTheirColour) {
  hgeQuad white = SolidQuad(0, 0, 100, 100, 0xFFFFFFFF);
  hgeQuad halfRed = SolidQuad(0, 0, 100, 100, 0x80FF0000);
  halfRed.blend = BLEND_DEFAULT;
  Draw([&] {
    engine->Gfx_RenderQuad(&white);
    engine->Gfx_RenderQuad(&halfRed);
    engine->Gfx_RenderLine(0, 128, 600, 128, 0xFF1F1F1F, 0.5f);
    engine->Gfx_RenderLine(0, 129, 600, 129, 0xFF5C5C5C, 0.5f);
  });
  const std::uint32_t mixed = PixelAt(*engine, 50, 50);
  EXPECT_EQ(mixed >> 16 & 0xFF, 0xFFu);
  EXPECT_NEAR(static_cast<int>(mixed >> 8 & 0xFF), 0x7F, 2);
  EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 0x7F, 2);
  EXPECT_EQ(PixelAt(*engine, 300, 128), 0xFF1F1F1Fu);
  EXPECT_EQ(PixelAt(*engine, 0, 129), 0xFF5C5C5Cu);
  EXPECT_EQ(PixelAt(*engine, 300, 130), 0xFF000000u);
}

TEST_F(SdlEngineDrawing, ClippingLimitsDrawingAndZerosMeanTheWholeWindow) {
  hgeQuad green = SolidQuad(0, 0, 600, 300, 0xFF00FF00);
  Draw([&] {
    engine->Gfx_SetClipping(100, 50, 20, 10);
    engine->Gfx_RenderQuad(&green);
  });
  EXPECT_EQ(PixelAt(*engine, 100, 50), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*engine, 119, 59), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*engine, 120, 59), 0xFF000000u);
  EXPECT_EQ(PixelAt(*engine, 99, 50), 0xFF000000u);

  Draw([&] {
    engine->Gfx_SetClipping(100, 50, 20, 10);
    engine->Gfx_SetClipping();
    engine->Gfx_RenderQuad(&green);
  });
  EXPECT_EQ(PixelAt(*engine, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*engine, 599, 299), 0xFF00FF00u);

  // An empty area hides everything rather than meaning the whole window.
  Draw([&] {
    engine->Gfx_SetClipping(700, 400, 10, 10);
    engine->Gfx_RenderQuad(&green);
    engine->Gfx_RenderLine(0, 5, 600, 5, 0xFFFFFFFF, 0.5f);
  });
  EXPECT_EQ(PixelAt(*engine, 10, 10), 0xFF000000u);
  EXPECT_EQ(PixelAt(*engine, 10, 5), 0xFF000000u);
}

TEST_F(SdlEngineDrawing, AnUnchangedFrameIsNotDrawnAgainUntilTheWindowNeedsIt) {
  hgeQuad grey = SolidQuad(10, 10, 50, 50, 0xFF808080);
  const auto frame = [&](const hgeQuad& quad) {
    engine->Gfx_BeginScene(0);
    engine->Gfx_SetClipping();
    engine->Gfx_RenderQuad(&quad);
    engine->Gfx_EndScene();
  };
  frame(grey);
  const long first = engine->PresentedFrames();
  frame(grey);
  frame(grey);
  EXPECT_EQ(engine->PresentedFrames(), first);

  hgeQuad moved = grey;
  moved.v[2].x += 1;
  frame(moved);
  EXPECT_EQ(engine->PresentedFrames(), first + 1);

  // The window system may have lost the content: the same frame is shown again.
  SDL_Event exposed{};
  exposed.type = SDL_WINDOWEVENT;
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&exposed);
  engine->PumpInput();
  frame(moved);
  EXPECT_EQ(engine->PresentedFrames(), first + 2);

  // A capture always draws, and draws the whole frame.
  engine->CaptureNextFrame();
  frame(moved);
  EXPECT_EQ(engine->PresentedFrames(), first + 3);
  EXPECT_EQ(PixelAt(*engine, 30, 30), 0xFF808080u);
}

class SdlEngineInput : public ::testing::Test {
 protected:
  void SetUp() override {
    engine = OffscreenEngine();
    engine->PumpInput();  // whatever the window's creation queued
  }
  std::unique_ptr<SdlEngine> engine;
};

TEST_F(SdlEngineInput, KeysCarryTheWindows1252CharacterTheyType) {
  PushKey(SDL_KEYDOWN, SDLK_a);
  PushText("a");
  PushKey(SDL_KEYUP, SDLK_a);
  PushKey(SDL_KEYDOWN, SDLK_RETURN);
  PushText("\xC3\xA9\xE2\x82\xAC!");  // typed on its own: é, the euro sign (dropped), !
  engine->PumpInput();
  const auto events = Drain(*engine);
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].type, INPUT_KEYDOWN);
  EXPECT_EQ(events[0].key, 'A');
  EXPECT_EQ(events[0].chr, 'a');
  EXPECT_EQ(events[1].type, INPUT_KEYUP);
  EXPECT_EQ(events[1].key, 'A');
  EXPECT_EQ(events[2].key, HGEK_ENTER);
  EXPECT_EQ(events[2].chr, 0);
  EXPECT_TRUE(engine->Input_KeyDown(HGEK_ENTER));
  EXPECT_EQ(events[3].chr, 0xE9);
  EXPECT_EQ(events[4].chr, '!');
  EXPECT_EQ(events[4].type, INPUT_KEYDOWN);
}

TEST_F(SdlEngineInput, ButtonCountsAsDownOnlyInItsFrameAndWheelStepsAreReported) {
  PushEvent(SDL_MOUSEBUTTONDOWN, 582, 8);
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = -2;
  SDL_PushEvent(&wheel);
  engine->PumpInput();
  EXPECT_TRUE(engine->Input_KeyDown(HGEK_LBUTTON));
  float x = 0, y = 0;
  engine->Input_GetMousePos(&x, &y);
  EXPECT_EQ(x, 582);
  EXPECT_EQ(y, 8);
  const auto events = Drain(*engine);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].type, INPUT_MBUTTONDOWN);
  EXPECT_EQ(events[0].key, HGEK_LBUTTON);
  EXPECT_EQ(events[1].type, INPUT_MOUSEWHEEL);
  EXPECT_EQ(events[1].wheel, -2);

  engine->PumpInput();  // the next frame, the button still held
  EXPECT_FALSE(engine->Input_KeyDown(HGEK_LBUTTON));
  EXPECT_TRUE(Drain(*engine).empty());
}

TEST_F(SdlEngineInput, WindowIgnoresInputWhileADialogIsUp) {
  {
    platform::ModalScope dialog;
    PushEvent(SDL_MOUSEBUTTONDOWN, 10, 10);
    PushKey(SDL_KEYDOWN, SDLK_a);
    PushText("a");
    PushEvent(SDL_QUIT);
    EXPECT_FALSE(engine->PumpInput());
    EXPECT_FALSE(engine->Input_KeyDown(HGEK_LBUTTON));
    EXPECT_TRUE(Drain(*engine).empty());
  }
  PushEvent(SDL_MOUSEBUTTONDOWN, 10, 10);
  engine->PumpInput();
  EXPECT_TRUE(engine->Input_KeyDown(HGEK_LBUTTON));
}

// The frame loop's callbacks reach the test through these.
int framesRun = 0, rendersRun = 0, exitAsked = 0;
bool allowExit = false;

TEST(SdlEngineLoop, NeedsAFrameCallbackAndRunsFramesUntilItEndsTheLoop) {
  auto engine = OffscreenEngine();
  EXPECT_FALSE(engine->System_Start());
  EXPECT_NE(std::string(engine->System_GetErrorMessage()), "");

  framesRun = rendersRun = 0;
  engine->System_SetState(HGE_FRAMEFUNC, [] { return ++framesRun == 5; });
  engine->System_SetState(HGE_RENDERFUNC, [] {
    ++rendersRun;
    return false;
  });
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(framesRun, 5);
  EXPECT_EQ(rendersRun, 4);  // the last frame ended the loop before drawing
  EXPECT_GT(engine->Timer_GetDelta(), 0.0f);
}

TEST(SdlEngineLoop, ClosingTheWindowAsksTheExitCallback) {
  auto engine = OffscreenEngine();
  framesRun = exitAsked = 0;
  allowExit = false;
  engine->System_SetState(HGE_FRAMEFUNC, [] {
    ++framesRun;
    if (framesRun == 2 || framesRun == 4) {
      PushEvent(SDL_QUIT);
      allowExit = framesRun == 4;
    }
    return framesRun > 50;  // only a safety stop
  });
  engine->System_SetState(HGE_EXITFUNC, [] {
    ++exitAsked;
    return allowExit;
  });
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(exitAsked, 2);  // refused once, then allowed
  EXPECT_EQ(framesRun, 4);
}

}  // namespace
