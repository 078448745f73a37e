#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "PlatformTestSupport.h"
#include "platform/Modal.h"
#include "platform/SdlEngine.h"

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

TEST(SdlEngine, RefusesToRunWithoutAVisibleDisplay) {
  ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
  ScopedEnv display("DISPLAY", std::string(":987"));
  ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  SdlEngine engine;
  EXPECT_FALSE(engine.System_Initiate());
  EXPECT_NE(std::string(engine.System_GetErrorMessage()).find("display"), std::string::npos);
  EXPECT_FALSE(engine.System_Start());
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
