#include "platform/SdlEngine.h"

#include <SDL.h>
#include <SDL_image.h>
#include <dlfcn.h>
#include <link.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/Display.h"
#include "platform/Modal.h"
#include "platform/Resources.h"

namespace {

// Marks every loaded library as never to be unloaded. The graphics drivers
// keep caches for the life of the process; unloading them at shutdown saves
// nothing and leaves leak checkers blind to what those allocations were.
void PinLoadedLibraries() {
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void*) {
        if (info->dlpi_name && *info->dlpi_name) {
          // Taking a reference with NODELETE pins the library; the handle is not closed.
          if (dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) == nullptr) dlerror();
        }
        return 0;
      },
      nullptr);
}

bool IsHeadlessDriver(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// Input an owner window does not take while a dialog of its own is up.
bool IsUserInput(Uint32 type) {
  return type == SDL_QUIT || type == SDL_KEYDOWN || type == SDL_KEYUP || type == SDL_TEXTINPUT ||
         type == SDL_MOUSEMOTION || type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP ||
         type == SDL_MOUSEWHEEL;
}

}  // namespace

void SdlEngine::SurfaceDeleter::operator()(SDL_Surface* surface) const {
  SDL_FreeSurface(surface);
}

void SdlEngine::TextureDeleter::operator()(SDL_Texture* texture) const {
  SDL_DestroyTexture(texture);
}

namespace {
const char* const kNoDisplay =
    "Cannot open a display: no X11 or Wayland display is reachable (check DISPLAY or "
    "WAYLAND_DISPLAY).";
}  // namespace

bool SdlEngine::System_Initiate() {
  // Failures are told through System_GetErrorMessage only: the program shows
  // them once, in its own words.
  if (window) return true;
  // SDL quietly falls back to a driver without a screen when no display can be
  // reached; a program nobody can see must not start, unless a test asked for it.
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  const bool driverRequested = requested && *requested;
  const platform::NamedDisplays named = platform::DisplaysNamed();
  // Probing for a display that is not named makes the libraries print
  // messages of their own; the user gets one message, the program's.
  if (!driverRequested && !named.Any()) {
    errorMessage = kNoDisplay;
    return false;
  }
  // Only the kind of display that is named is tried.
  if (!driverRequested && !named.x11) SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
  if (!driverRequested && !named.wayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    errorMessage = std::string("Cannot open a display: ") + SDL_GetError();
    return false;
  }
  videoStarted = true;
  if (!driverRequested && IsHeadlessDriver(SDL_GetCurrentVideoDriver())) {
    errorMessage = kNoDisplay;
    System_Shutdown();
    return false;
  }
  IMG_Init(IMG_INIT_PNG);
  window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            numbers[HGE_SCREENWIDTH], numbers[HGE_SCREENHEIGHT], SDL_WINDOW_SHOWN);
  if (window) renderer = SDL_CreateRenderer(window, -1, 0);
  if (!window || !renderer) {
    errorMessage = std::string("Cannot create the window: ") + SDL_GetError();
    System_Shutdown();
    return false;
  }
  PinLoadedLibraries();
  SDL_ShowCursor(flags[HGE_HIDEMOUSE] ? SDL_DISABLE : SDL_ENABLE);
  SetWindowIcon();
  SDL_StartTextInput();
  return true;
}

void SdlEngine::SetWindowIcon() {
  if (!numbers[HGE_ICON]) return;
  const auto bytes = platform::FindIconResource(numbers[HGE_ICON]);
  if (!bytes) return;
  SDL_RWops* stream = SDL_RWFromConstMem(bytes->data, static_cast<int>(bytes->size));
  std::unique_ptr<SDL_Surface, SurfaceDeleter> image(IMG_Load_RW(stream, 1));
  if (image) SDL_SetWindowIcon(window, image.get());
}

void SdlEngine::System_Shutdown() {
  textures.clear();
  if (renderer) SDL_DestroyRenderer(renderer);
  renderer = nullptr;
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
  if (videoStarted) {
    PinLoadedLibraries();
    IMG_Quit();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  videoStarted = false;
}

void SdlEngine::WaitForNextFrame() {
  using Clock = std::chrono::steady_clock;
  // Sleeping out the rest of the frame keeps an idle window off the CPU.
  if (Clock::now() < nextFrame) std::this_thread::sleep_until(nextFrame);
  const auto now = Clock::now();
  delta = std::chrono::duration<float>(now - previousFrame).count();
  previousFrame = now;
  const int fps = numbers[HGE_FPS];
  nextFrame += std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(fps > 0 ? 1.0 / fps : 0.0));
  if (nextFrame < now) nextFrame = now;  // fell behind: do not race to catch up
}

bool SdlEngine::System_NextModalFrame() {
  if (!renderer) return false;
  if (previousFrame == std::chrono::steady_clock::time_point{})
    previousFrame = nextFrame = std::chrono::steady_clock::now();
  WaitForNextFrame();
  const bool close = PumpInput();
  closePending = closePending || close;
  return close;
}

void SdlEngine::System_Redraw() {
  if (renderer && callbacks[HGE_RENDERFUNC]) callbacks[HGE_RENDERFUNC]();
}

bool SdlEngine::System_Start() {
  const hgeCallback frameFunc = callbacks[HGE_FRAMEFUNC], renderFunc = callbacks[HGE_RENDERFUNC],
                    exitFunc = callbacks[HGE_EXITFUNC];
  if (!renderer || !frameFunc) {
    errorMessage = renderer ? "System_Start: no frame function defined"
                            : "System_Start: the window has not been created";
    return false;
  }
  previousFrame = nextFrame = std::chrono::steady_clock::now();
  for (;;) {
    WaitForNextFrame();
    if (PumpInput() && (!exitFunc || exitFunc())) break;
    if (frameFunc()) break;
    if (renderFunc) renderFunc();
  }
  input.BeginFrame();
  return true;
}

bool SdlEngine::PumpInput() {
  input.BeginFrame();
  bool closeRequested = closePending;
  closePending = false;
  // An owner window takes no input while its dialog is up, not even a close.
  const bool modal = platform::IsModalActive();
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_WINDOWEVENT) recorder.MarkStale();  // exposed, restored: draw again
    if (modal && IsUserInput(event.type)) continue;
    closeRequested = input.Translate(event) || closeRequested;
  }
  return closeRequested;
}

void SdlEngine::System_Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

void SdlEngine::System_SetState(hgeBoolState state, bool value) {
  flags[state] = value;
  if (state == HGE_HIDEMOUSE && window) SDL_ShowCursor(value ? SDL_DISABLE : SDL_ENABLE);
}

void SdlEngine::System_SetState(hgeFuncState state, hgeCallback value) {
  callbacks[state] = value;
}

void SdlEngine::System_SetState(hgeIntState state, int value) {
  // The window keeps the size it was made with.
  if (window && (state == HGE_SCREENWIDTH || state == HGE_SCREENHEIGHT)) return;
  numbers[state] = value;
  if (state == HGE_ICON && window) SetWindowIcon();
}

void SdlEngine::System_SetState(hgeStringState, const char* value) {
  title = value ? value : "";
  if (window) SDL_SetWindowTitle(window, title.c_str());
}

void* SdlEngine::Resource_Load(const char* filename, std::uint32_t* size) {
  if (!filename) return nullptr;
  std::error_code error;
  if (!std::filesystem::is_regular_file(filename, error)) return nullptr;
  const std::uintmax_t length = std::filesystem::file_size(filename, error);
  if (error || length >= UINT32_MAX) return nullptr;
  std::ifstream in(filename, std::ios::binary);
  // One byte more, zero, so that text resources can be read as C strings.
  auto buffer = std::make_unique<char[]>(static_cast<std::size_t>(length) + 1);
  if (!in.read(buffer.get(), static_cast<std::streamsize>(length))) return nullptr;
  buffer[length] = 0;
  if (size) *size = static_cast<std::uint32_t>(length);
  void* handle = buffer.get();
  loadedFiles[handle] = std::move(buffer);
  return handle;
}

HTEXTURE SdlEngine::Texture_Load(const char* data, std::uint32_t size, bool) {
  if (!data || size == 0 || size > INT32_MAX) return 0;
  SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
  std::unique_ptr<SDL_Surface, SurfaceDeleter> decoded(IMG_Load_RW(stream, 1));
  if (!decoded) {
    System_Log("Texture_Load: cannot decode the image: %s", IMG_GetError());
    return 0;
  }
  std::unique_ptr<SDL_Surface, SurfaceDeleter> pixels(
      SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!pixels) {
    System_Log("Texture_Load: cannot convert the image: %s", SDL_GetError());
    return 0;
  }
  const HTEXTURE handle = nextTexture++;
  textures[handle].pixels = std::move(pixels);
  return handle;
}

void SdlEngine::Texture_Free(HTEXTURE texture) {
  textures.erase(texture);
  recorder.MarkStale();
}

int SdlEngine::Texture_GetWidth(HTEXTURE texture, bool) {
  const auto found = textures.find(texture);
  return found == textures.end() ? 0 : found->second.pixels->w;
}

int SdlEngine::Texture_GetHeight(HTEXTURE texture, bool) {
  const auto found = textures.find(texture);
  return found == textures.end() ? 0 : found->second.pixels->h;
}

SDL_Texture* SdlEngine::Uploaded(HTEXTURE handle) {
  const auto found = textures.find(handle);
  if (found == textures.end() || !renderer) return nullptr;
  Texture& texture = found->second;
  if (!texture.uploaded) {
    texture.uploaded.reset(SDL_CreateTextureFromSurface(renderer, texture.pixels.get()));
    if (!texture.uploaded) return nullptr;
    SDL_SetTextureScaleMode(texture.uploaded.get(),
                            flags[HGE_TEXTUREFILTER] ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  return texture.uploaded.get();
}

FrameRecorder::TextureLookup SdlEngine::Textures() {
  return [this](HTEXTURE handle) { return Uploaded(handle); };
}

bool SdlEngine::Gfx_BeginScene(HTARGET target) {
  if (!renderer || target != 0) return false;
  recorder.Begin();
  return true;
}

void SdlEngine::Gfx_EndScene() {
  const auto now = std::chrono::steady_clock::now();
  if (!renderer || !recorder.NeedsShowing(now)) return;
  recorder.ShowFrame(renderer, numbers[HGE_SCREENWIDTH], numbers[HGE_SCREENHEIGHT], Textures(),
                     now);
}

void SdlEngine::Gfx_RenderLine(float x1, float y1, float x2, float y2, std::uint32_t color, float) {
  if (renderer) recorder.AddLine(x1, y1, x2, y2, color);
}

void SdlEngine::Gfx_RenderQuad(const hgeQuad* quad) {
  if (renderer && quad) recorder.AddQuad(*quad);
}

void SdlEngine::Gfx_SetClipping(int x, int y, int w, int h) {
  if (renderer) recorder.AddClip(x, y, w, h);
}
