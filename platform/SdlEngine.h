// The engine on SDL2: one window, its default renderer, textures decoded from
// PNG bytes with SDL2_image, quads drawn as coloured, textured triangles, and a
// frame loop paced by sleeping.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hge.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;
union SDL_Event;

namespace platform {
// The Windows-1252 bytes of UTF-8 text, as the program's font and text fields
// take them; characters outside 32-126 and 160-255 and malformed sequences are
// dropped.
std::string Windows1252FromUtf8(const char* utf8);
}  // namespace platform

class SdlEngine : public HGE {
 public:
  SdlEngine();
  ~SdlEngine() override;
  SdlEngine(const SdlEngine&) = delete;
  SdlEngine& operator=(const SdlEngine&) = delete;

  // Frames begun by System_Start so far.
  long FrameCount() const { return frameCount; }
  // Asks the next Gfx_EndScene to keep a copy of the frame it shows.
  void CaptureNextFrame() { captureRequested = true; }
  // The last captured frame as ARGB pixels, row by row; empty before one was captured.
  const std::vector<std::uint32_t>& CapturedFrame() const { return captured; }
  // Writes the last captured frame as a PNG file.
  bool SaveCapturedFrame(const std::string& path) const;
  // Name of the SDL video driver in use, empty before System_Initiate.
  std::string VideoDriver() const;
  // Name of the SDL renderer drawing the window, empty before System_Initiate.
  std::string RendererName() const;

  // HGE
  void Release() override {}
  bool System_Initiate() override;
  void System_Shutdown() override;
  bool System_Start() override;
  const char* System_GetErrorMessage() override { return errorMessage.c_str(); }
  void System_Log(const char* format, ...) override __attribute__((format(printf, 2, 3)));
  void System_SetState(hgeBoolState state, bool value) override;
  void System_SetState(hgeFuncState state, hgeCallback value) override;
  void System_SetState(hgeIntState state, int value) override;
  void System_SetState(hgeStringState state, const char* value) override;
  bool System_GetState(hgeBoolState state) override;
  HWND System_GetState(hgeHwndState state) override;
  int System_GetState(hgeIntState state) override;
  void* Resource_Load(const char* filename, std::uint32_t* size = nullptr) override;
  void Resource_Free(void* resource) override;
  HTEXTURE Texture_Load(const char* data, std::uint32_t size, bool mipmap = false) override;
  void Texture_Free(HTEXTURE texture) override;
  int Texture_GetWidth(HTEXTURE texture, bool original = false) override;
  int Texture_GetHeight(HTEXTURE texture, bool original = false) override;
  float Timer_GetDelta() override { return delta; }
  bool Input_KeyDown(int key) override;
  void Input_GetMousePos(float* x, float* y) override;
  bool Input_GetEvent(hgeInputEvent* event) override;
  bool Gfx_BeginScene(HTARGET target = 0) override;
  void Gfx_EndScene() override;
  void Gfx_RenderLine(float x1, float y1, float x2, float y2, std::uint32_t color = 0xFFFFFFFF,
                      float z = 0.5f) override;
  void Gfx_RenderQuad(const hgeQuad* quad) override;
  void Gfx_SetClipping(int x = 0, int y = 0, int w = 0, int h = 0) override;
  bool System_NextModalFrame() override;
  void System_Redraw() override;

  // Reads SDL's pending events into this frame's input; true when the user
  // asked to close the window. System_Start calls it once per frame.
  bool PumpInput();

 private:
  struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const;
  };
  struct TextureDeleter {
    void operator()(SDL_Texture* texture) const;
  };
  struct Texture {
    std::unique_ptr<SDL_Surface, SurfaceDeleter> pixels;
    std::unique_ptr<SDL_Texture, TextureDeleter> uploaded;  // made on first draw
  };

  SDL_Texture* Uploaded(HTEXTURE handle);
  void WaitForNextFrame();
  void Translate(const SDL_Event& event, bool& closeRequested);
  void AddCharacters(const char* utf8);
  void SetWindowIcon();

  // Configuration.
  hgeCallback frameFunc = nullptr, renderFunc = nullptr, exitFunc = nullptr;
  std::string title = "HGE";
  int screenWidth = 800, screenHeight = 600, fps = 0, icon = 0;
  bool windowed = false, useSound = true, showSplash = true, textureFilter = true,
       dontSuspend = false, hideMouse = false;

  // Running state.
  std::string errorMessage;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  bool videoStarted = false;
  std::map<HTEXTURE, Texture> textures;
  HTEXTURE nextTexture = 1;
  std::map<void*, std::unique_ptr<char[]>> loadedFiles;
  float delta = 0;
  long frameCount = 0;
  std::chrono::steady_clock::time_point previousFrame, nextFrame;
  bool closePending = false;  // a close seen by a dialog's frame, for the frame loop

  // Input of the current frame.
  std::vector<int> keysWentDown;
  std::deque<hgeInputEvent> events;
  bool lastKeyAwaitsCharacter = false;
  float mouseX = 0, mouseY = 0;

  bool clipHidesAll = false;  // the clipping area is empty
  bool captureRequested = false;
  std::vector<std::uint32_t> captured;
};
