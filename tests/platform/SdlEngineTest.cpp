#include <SDL.h>
#include <gtest/gtest.h>

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

// A press of the left button at (10, 10), or any event that needs no fields.
void PushEvent(SDL_EventType type) {
  SDL_Event event{};
  event.type = type;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.state = SDL_PRESSED;
  event.button.x = event.button.y = 10;
  SDL_PushEvent(&event);
}

TEST(SdlEngine, TheWindowIgnoresInputWhileADialogIsUp) {
  auto engine = OffscreenEngine();
  engine->PumpInput();  // whatever the window's creation queued
  {
    platform::ModalScope dialog;
    PushEvent(SDL_MOUSEBUTTONDOWN);
    PushEvent(SDL_QUIT);
    EXPECT_FALSE(engine->PumpInput());
    EXPECT_FALSE(engine->Input_KeyDown(HGEK_LBUTTON));
  }
  PushEvent(SDL_MOUSEBUTTONDOWN);
  engine->PumpInput();
  EXPECT_TRUE(engine->Input_KeyDown(HGEK_LBUTTON));
}

}  // namespace
