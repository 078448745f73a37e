#include "platform/SdlEngine.h"

#include <SDL.h>
#include <SDL_image.h>
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/Modal.h"
#include "platform/Resources.h"

namespace {

// HGE's key codes (Windows virtual keys) for the SDL keys the program can use;
// 0 for a key that only matters for the character it types.
int KeyCode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return HGEK_ENTER;
    case SDLK_TAB:
      return HGEK_TAB;
    case SDLK_BACKSPACE:
      return HGEK_BACKSPACE;
    case SDLK_ESCAPE:
      return HGEK_ESCAPE;
    case SDLK_SPACE:
      return HGEK_SPACE;
    case SDLK_LEFT:
      return HGEK_LEFT;
    case SDLK_RIGHT:
      return HGEK_RIGHT;
    case SDLK_UP:
      return HGEK_UP;
    case SDLK_DOWN:
      return HGEK_DOWN;
    case SDLK_HOME:
      return HGEK_HOME;
    case SDLK_END:
      return HGEK_END;
    case SDLK_PAGEUP:
      return HGEK_PGUP;
    case SDLK_PAGEDOWN:
      return HGEK_PGDN;
    case SDLK_INSERT:
      return HGEK_INSERT;
    case SDLK_DELETE:
      return HGEK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return HGEK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return HGEK_CTRL;
    case SDLK_LALT:
    case SDLK_RALT:
      return HGEK_ALT;
    default:
      return 0;
  }
}

// Keys whose press is followed by the character they type.
bool TypesCharacter(SDL_Keycode key) {
  return key == SDLK_SPACE || (key > SDLK_SPACE && key < SDLK_DELETE) ||
         (key >= 0xA0 && !(key & SDLK_SCANCODE_MASK));
}

int ModifierFlags() {
  const SDL_Keymod mods = SDL_GetModState();
  int flags = 0;
  if (mods & KMOD_SHIFT) flags |= HGEINP_SHIFT;
  if (mods & KMOD_CTRL) flags |= HGEINP_CTRL;
  if (mods & KMOD_ALT) flags |= HGEINP_ALT;
  return flags;
}

int MouseKey(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return HGEK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return HGEK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return HGEK_MBUTTON;
    default:
      return 0;
  }
}

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

}  // namespace

std::string platform::Windows1252FromUtf8(const char* utf8) {
  std::string out;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8);
  while (*p) {
    unsigned int code;
    int more;
    if (*p < 0x80) {
      code = *p;
      more = 0;
    } else if ((*p & 0xE0) == 0xC0) {
      code = *p & 0x1F;
      more = 1;
    } else if ((*p & 0xF0) == 0xE0) {
      code = *p & 0x0F;
      more = 2;
    } else if ((*p & 0xF8) == 0xF0) {
      code = *p & 0x07;
      more = 3;
    } else {
      ++p;
      continue;
    }
    ++p;
    bool valid = true;
    for (int i = 0; i < more; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = code << 6 | (*p & 0x3F);
    }
    if (!valid) continue;
    if ((code >= 32 && code <= 126) || (code >= 160 && code <= 255)) out += static_cast<char>(code);
  }
  return out;
}

void SdlEngine::SurfaceDeleter::operator()(SDL_Surface* surface) const {
  SDL_FreeSurface(surface);
}

void SdlEngine::TextureDeleter::operator()(SDL_Texture* texture) const {
  SDL_DestroyTexture(texture);
}

SdlEngine::SdlEngine() = default;

SdlEngine::~SdlEngine() {
  System_Shutdown();
}

std::string SdlEngine::VideoDriver() const {
  const char* driver = videoStarted ? SDL_GetCurrentVideoDriver() : nullptr;
  return driver ? driver : "";
}

std::string SdlEngine::RendererName() const {
  SDL_RendererInfo info{};
  if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) return "";
  return info.name;
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
  const char* x11 = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  // Probing for a display that is not named makes the libraries print
  // messages of their own; the user gets one message, the program's.
  if (!driverRequested && !(x11 && *x11) && !(wayland && *wayland)) {
    errorMessage = kNoDisplay;
    return false;
  }
  // Only the kind of display that is named is tried.
  if (!driverRequested && !(x11 && *x11)) SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
  if (!driverRequested && !(wayland && *wayland)) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
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
                            screenWidth, screenHeight, SDL_WINDOW_SHOWN);
  if (window) renderer = SDL_CreateRenderer(window, -1, 0);
  if (!window || !renderer) {
    errorMessage = std::string("Cannot create the window: ") + SDL_GetError();
    System_Shutdown();
    return false;
  }
  PinLoadedLibraries();
  SDL_ShowCursor(hideMouse ? SDL_DISABLE : SDL_ENABLE);
  SetWindowIcon();
  SDL_StartTextInput();
  return true;
}

void SdlEngine::SetWindowIcon() {
  if (!icon) return;
  const auto bytes = platform::FindIconResource(icon);
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
  const auto period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(fps > 0 ? 1.0 / fps : 0.0));
  nextFrame += period;
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
  if (renderer && renderFunc) renderFunc();
}

bool SdlEngine::System_Start() {
  if (!renderer) {
    errorMessage = "System_Start: the window has not been created";
    return false;
  }
  if (!frameFunc) {
    errorMessage = "System_Start: no frame function defined";
    return false;
  }
  previousFrame = nextFrame = std::chrono::steady_clock::now();
  for (;;) {
    WaitForNextFrame();
    if (PumpInput() && (!exitFunc || exitFunc())) break;
    ++frameCount;
    if (frameFunc()) break;
    if (renderFunc) renderFunc();
  }
  events.clear();
  keysWentDown.clear();
  return true;
}

void SdlEngine::System_Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

void SdlEngine::System_SetState(hgeBoolState state, bool value) {
  switch (state) {
    case HGE_WINDOWED:
      windowed = value;
      break;
    case HGE_USESOUND:
      useSound = value;
      break;
    case HGE_SHOWSPLASH:
      showSplash = value;
      break;
    case HGE_TEXTUREFILTER:
      textureFilter = value;
      break;
    case HGE_DONTSUSPEND:
      dontSuspend = value;
      break;
    case HGE_HIDEMOUSE:
      hideMouse = value;
      if (window) SDL_ShowCursor(value ? SDL_DISABLE : SDL_ENABLE);
      break;
  }
}

void SdlEngine::System_SetState(hgeFuncState state, hgeCallback value) {
  switch (state) {
    case HGE_FRAMEFUNC:
      frameFunc = value;
      break;
    case HGE_RENDERFUNC:
      renderFunc = value;
      break;
    case HGE_EXITFUNC:
      exitFunc = value;
      break;
  }
}

void SdlEngine::System_SetState(hgeIntState state, int value) {
  switch (state) {
    case HGE_SCREENWIDTH:
      if (!window) screenWidth = value;
      break;
    case HGE_SCREENHEIGHT:
      if (!window) screenHeight = value;
      break;
    case HGE_FPS:
      fps = value;
      break;
    case HGE_ICON:
      icon = value;
      if (window) SetWindowIcon();
      break;
  }
}

void SdlEngine::System_SetState(hgeStringState, const char* value) {
  title = value ? value : "";
  if (window) SDL_SetWindowTitle(window, title.c_str());
}

bool SdlEngine::System_GetState(hgeBoolState state) {
  switch (state) {
    case HGE_WINDOWED:
      return windowed;
    case HGE_USESOUND:
      return useSound;
    case HGE_SHOWSPLASH:
      return showSplash;
    case HGE_TEXTUREFILTER:
      return textureFilter;
    case HGE_DONTSUSPEND:
      return dontSuspend;
    case HGE_HIDEMOUSE:
      return hideMouse;
  }
  return false;
}

HWND SdlEngine::System_GetState(hgeHwndState) {
  return window;
}

int SdlEngine::System_GetState(hgeIntState state) {
  switch (state) {
    case HGE_SCREENWIDTH:
      return screenWidth;
    case HGE_SCREENHEIGHT:
      return screenHeight;
    case HGE_FPS:
      return fps;
    case HGE_ICON:
      return icon;
  }
  return 0;
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

void SdlEngine::Resource_Free(void* resource) {
  loadedFiles.erase(resource);
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
  screenStale = true;
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
                            textureFilter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  return texture.uploaded.get();
}

bool SdlEngine::PumpInput() {
  keysWentDown.clear();
  events.clear();
  lastKeyAwaitsCharacter = false;
  bool closeRequested = closePending;
  closePending = false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) Translate(event, closeRequested);
  return closeRequested;
}

void SdlEngine::Translate(const SDL_Event& event, bool& closeRequested) {
  // An owner window takes no input while its dialog is up, not even a close.
  const bool modal = platform::IsModalActive();
  switch (event.type) {
    case SDL_WINDOWEVENT:
      screenStale = true;  // exposed, resized, restored: draw again
      break;
    case SDL_QUIT:
      if (!modal) closeRequested = true;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      if (modal) break;
      const SDL_Keycode sym = event.key.keysym.sym;
      const int key = KeyCode(sym);
      const bool typesCharacter = TypesCharacter(sym);
      lastKeyAwaitsCharacter = false;
      if (key == 0 && !typesCharacter) break;
      hgeInputEvent input;
      input.type = event.type == SDL_KEYDOWN ? INPUT_KEYDOWN : INPUT_KEYUP;
      input.key = key;
      input.flags = ModifierFlags();
      input.x = mouseX;
      input.y = mouseY;
      events.push_back(input);
      if (event.type == SDL_KEYDOWN) {
        if (key && !event.key.repeat) keysWentDown.push_back(key);
        lastKeyAwaitsCharacter = typesCharacter;
      }
      break;
    }
    case SDL_TEXTINPUT:
      if (!modal) AddCharacters(event.text.text);
      break;
    case SDL_MOUSEMOTION:
      if (modal) break;
      mouseX = static_cast<float>(event.motion.x);
      mouseY = static_cast<float>(event.motion.y);
      events.push_back({INPUT_MOUSEMOVE, 0, ModifierFlags(), 0, 0, mouseX, mouseY});
      lastKeyAwaitsCharacter = false;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (modal) break;
      const int key = MouseKey(event.button.button);
      if (!key) break;
      mouseX = static_cast<float>(event.button.x);
      mouseY = static_cast<float>(event.button.y);
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      events.push_back(
          {down ? INPUT_MBUTTONDOWN : INPUT_MBUTTONUP, key, ModifierFlags(), 0, 0, mouseX, mouseY});
      if (down) keysWentDown.push_back(key);
      lastKeyAwaitsCharacter = false;
      break;
    }
    case SDL_MOUSEWHEEL: {
      if (modal) break;
      int steps = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
      if (steps == 0) break;
      events.push_back({INPUT_MOUSEWHEEL, 0, ModifierFlags(), 0, steps, mouseX, mouseY});
      lastKeyAwaitsCharacter = false;
      break;
    }
    default:
      break;
  }
}

void SdlEngine::AddCharacters(const char* utf8) {
  for (const char byte : platform::Windows1252FromUtf8(utf8)) {
    const int character = static_cast<unsigned char>(byte);
    // The first character belongs to the key press just before it, as one
    // event, the way the program's input adapter expects typing to arrive.
    if (lastKeyAwaitsCharacter && !events.empty() && events.back().type == INPUT_KEYDOWN &&
        events.back().chr == 0) {
      events.back().chr = character;
    } else {
      hgeInputEvent input;
      input.type = INPUT_KEYDOWN;
      input.chr = character;
      input.flags = ModifierFlags();
      input.x = mouseX;
      input.y = mouseY;
      events.push_back(input);
    }
    lastKeyAwaitsCharacter = false;
  }
}

bool SdlEngine::Input_KeyDown(int key) {
  return std::find(keysWentDown.begin(), keysWentDown.end(), key) != keysWentDown.end();
}

void SdlEngine::Input_GetMousePos(float* x, float* y) {
  if (x) *x = mouseX;
  if (y) *y = mouseY;
}

bool SdlEngine::Input_GetEvent(hgeInputEvent* event) {
  if (events.empty() || !event) return false;
  *event = events.front();
  events.pop_front();
  return true;
}

bool SdlEngine::SameCall(const DrawCall& a, const DrawCall& b) {
  if (a.kind != b.kind) return false;
  if (a.kind == DrawCall::kClip) return std::equal(a.clip, a.clip + 4, b.clip);
  for (int i = 0; i < 4; ++i) {
    const hgeVertex &u = a.quad.v[i], &w = b.quad.v[i];
    if (u.x != w.x || u.y != w.y || u.z != w.z || u.col != w.col || u.tx != w.tx || u.ty != w.ty)
      return false;
  }
  return a.quad.tex == b.quad.tex && a.quad.blend == b.quad.blend;
}

bool SdlEngine::Gfx_BeginScene(HTARGET target) {
  if (!renderer || target != 0) return false;
  frameCalls.clear();
  return true;
}

void SdlEngine::Gfx_EndScene() {
  if (!renderer) return;
  // Redraw now and then all the same, in case the window system lost the
  // content without telling.
  constexpr auto kRefresh = std::chrono::seconds(1);
  const auto now = std::chrono::steady_clock::now();
  const bool unchanged = !screenStale && std::equal(frameCalls.begin(), frameCalls.end(),
                                                    shownCalls.begin(), shownCalls.end(), SameCall);
  if (unchanged && !captureRequested && now - lastShown < kRefresh) return;
  Replay(frameCalls);
  if (captureRequested) {
    captureRequested = false;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(screenWidth) * screenHeight);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             screenWidth * 4) == 0)
      captured = std::move(pixels);
  }
  SDL_RenderPresent(renderer);
  ++presentedFrames;
  std::swap(shownCalls, frameCalls);
  screenStale = false;
  lastShown = now;
}

void SdlEngine::Replay(const std::vector<DrawCall>& calls) {
  // What a presented frame leaves behind is undefined; start from black.
  SDL_RenderSetClipRect(renderer, nullptr);
  clipHidesAll = false;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  for (const DrawCall& call : calls) {
    switch (call.kind) {
      case DrawCall::kQuad:
        DrawQuad(call.quad);
        break;
      case DrawCall::kLine:
        DrawLine(call.quad);
        break;
      case DrawCall::kClip:
        SetClip(call.clip);
        break;
    }
  }
}

bool SdlEngine::SaveCapturedFrame(const std::string& path) const {
  if (captured.empty()) return false;
  std::unique_ptr<SDL_Surface, SurfaceDeleter> surface(SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(captured.data()), screenWidth, screenHeight, 32, screenWidth * 4,
      SDL_PIXELFORMAT_ARGB8888));
  return surface && IMG_SavePNG(surface.get(), path.c_str()) == 0;
}

void SdlEngine::Gfx_RenderLine(float x1, float y1, float x2, float y2, std::uint32_t color, float) {
  if (!renderer) return;
  DrawCall call{};
  call.kind = DrawCall::kLine;
  call.quad.v[0].x = x1;
  call.quad.v[0].y = y1;
  call.quad.v[1].x = x2;
  call.quad.v[1].y = y2;
  call.quad.v[0].col = color;
  frameCalls.push_back(call);
}

void SdlEngine::Gfx_RenderQuad(const hgeQuad* quad) {
  if (!renderer || !quad) return;
  DrawCall call{};
  call.kind = DrawCall::kQuad;
  call.quad = *quad;
  frameCalls.push_back(call);
}

void SdlEngine::Gfx_SetClipping(int x, int y, int w, int h) {
  if (!renderer) return;
  DrawCall call{};
  call.kind = DrawCall::kClip;
  call.clip[0] = x;
  call.clip[1] = y;
  call.clip[2] = w;
  call.clip[3] = h;
  frameCalls.push_back(call);
}

void SdlEngine::DrawLine(const hgeQuad& ends) {
  if (clipHidesAll) return;
  const std::uint32_t color = ends.v[0].col;
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
  SDL_SetRenderDrawColor(renderer, color >> 16 & 0xFF, color >> 8 & 0xFF, color & 0xFF,
                         color >> 24);
  SDL_RenderDrawLineF(renderer, ends.v[0].x, ends.v[0].y, ends.v[1].x, ends.v[1].y);
}

void SdlEngine::DrawQuad(const hgeQuad& quad) {
  if (clipHidesAll) return;
  SDL_Vertex vertices[4];
  for (int i = 0; i < 4; ++i) {
    const hgeVertex& v = quad.v[i];
    vertices[i].position = {v.x, v.y};
    vertices[i].color = {static_cast<Uint8>(v.col >> 16), static_cast<Uint8>(v.col >> 8),
                         static_cast<Uint8>(v.col), static_cast<Uint8>(v.col >> 24)};
    vertices[i].tex_coord = {v.tx, v.ty};
  }
  static const int kTriangles[6] = {0, 1, 2, 0, 2, 3};
  // Blend mode bit 2 blends by alpha; without it the quad adds its light.
  const SDL_BlendMode mode =
      (quad.blend & BLEND_ALPHABLEND) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD;
  SDL_Texture* texture = quad.tex ? Uploaded(quad.tex) : nullptr;
  if (quad.tex && !texture) return;
  if (texture) SDL_SetTextureBlendMode(texture, mode);
  SDL_SetRenderDrawBlendMode(renderer, mode);
  SDL_RenderGeometry(renderer, texture, vertices, 4, kTriangles, 6);
}

void SdlEngine::SetClip(const int* area) {
  const int x = area[0], y = area[1], w = area[2], h = area[3];
  clipHidesAll = false;
  if (x == 0 && y == 0 && w == 0 && h == 0) {
    SDL_RenderSetClipRect(renderer, nullptr);
    return;
  }
  // Clamp to the window; an empty area hides everything drawn until the next call.
  const int left = std::clamp(x, 0, screenWidth), top = std::clamp(y, 0, screenHeight);
  const int right = std::clamp(x + std::max(w, 0), 0, screenWidth);
  const int bottom = std::clamp(y + std::max(h, 0), 0, screenHeight);
  const SDL_Rect clipArea{left, top, right - left, bottom - top};
  clipHidesAll = clipArea.w == 0 || clipArea.h == 0;
  if (!clipHidesAll) SDL_RenderSetClipRect(renderer, &clipArea);
}
