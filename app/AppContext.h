// The objects every wizard screen shares, made once at start-up and kept for
// the whole run.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/WorkerThreads.h"
#include "platform/hge.h"

class BitmapFont;
class InWindowBoxes;
class Sprite;
class StateManager;
namespace SHR {
struct cSkin;
struct cScreenArt;
}  // namespace SHR
namespace gcn {
class HGEGraphics;
class HGEInput;
class HGEImageLoader;
}  // namespace gcn

// The name and version shown in the window title and the about box.
inline constexpr const char* kProductTitle = "Tarnwick 1.1a";

struct AppContext {
  AppContext();
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  int ScreenWidth() const { return engine->System_GetState(HGE_SCREENWIDTH); }
  int ScreenHeight() const { return engine->System_GetState(HGE_SCREENHEIGHT); }
  HWND Window() const { return engine->System_GetState(HGE_HWND); }

  HGE* engine = nullptr;
  // The archive named on the command line; step 1 takes it once, as if chosen in its dialog.
  std::optional<std::string> initialSource;
  HTEXTURE skinTexture = 0;
  std::unique_ptr<BitmapFont> mainFont;
  // The title logo, the about icon and the file-type icons.
  std::unique_ptr<SHR::cScreenArt> art;
  std::unique_ptr<SHR::cSkin> skin;
  std::unique_ptr<gcn::HGEImageLoader> imageLoader;
  std::unique_ptr<gcn::HGEGraphics> guiGraphics;
  std::unique_ptr<gcn::HGEInput> guiInput;
  // The message boxes drawn in the window; outlives the workers, which may
  // still be asking when the program ends.
  std::unique_ptr<InWindowBoxes> boxes;
  // Declared after everything the workers might still reach through a screen,
  // so it is taken down first.
  WorkerThreads workers;
  // Last: the screens on its stack point into everything above.
  std::unique_ptr<StateManager> states;
};
