// The engine on SDL2: one window, its default renderer, textures decoded from
// PNG bytes with SDL2_image, quads drawn as coloured, textured triangles, and a
// frame loop paced by sleeping. Input comes through an InputTranslator; drawing
// calls go through a FrameRecorder, which skips frames equal to the one shown.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "platform/FrameRecorder.h"
#include "platform/InputTranslator.h"
#include "platform/hge.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;

class SdlEngine : public HGE {
 public:
  SdlEngine() = default;
  ~SdlEngine() override { System_Shutdown(); }
  SdlEngine(const SdlEngine&) = delete;
  SdlEngine& operator=(const SdlEngine&) = delete;

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
  bool System_GetState(hgeBoolState state) override { return flags[state]; }
  HWND System_GetState(hgeHwndState) override { return window; }
  int System_GetState(hgeIntState state) override { return numbers[state]; }
  void* Resource_Load(const char* filename, std::uint32_t* size = nullptr) override;
  void Resource_Free(void* resource) override { loadedFiles.erase(resource); }
  HTEXTURE Texture_Load(const char* data, std::uint32_t size, bool mipmap = false) override;
  void Texture_Free(HTEXTURE texture) override;
  int Texture_GetWidth(HTEXTURE texture, bool original = false) override;
  int Texture_GetHeight(HTEXTURE texture, bool original = false) override;
  float Timer_GetDelta() override { return delta; }
  bool Input_KeyDown(int key) override { return input.WentDown(key); }
  void Input_GetMousePos(float* x, float* y) override {
    if (x) *x = input.MouseX();
    if (y) *y = input.MouseY();
  }
  bool Input_GetEvent(hgeInputEvent* event) override { return input.NextEvent(event); }
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
  friend class SdlEngineProbe;  // the widget gallery reads the frame shown

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
  FrameRecorder::TextureLookup Textures();
  void WaitForNextFrame();
  void SetWindowIcon();

  // Configuration, indexed by the state enums.
  hgeCallback callbacks[3] = {};
  bool flags[6] = {false, true, true, true, false, false};
  int numbers[4] = {800, 600, 0, 0};
  std::string title = "HGE";

  std::string errorMessage;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  bool videoStarted = false;
  std::map<HTEXTURE, Texture> textures;
  HTEXTURE nextTexture = 1;
  std::map<void*, std::unique_ptr<char[]>> loadedFiles;
  float delta = 0;
  std::chrono::steady_clock::time_point previousFrame, nextFrame;
  bool closePending = false;  // a close seen by a dialog's frame, for the frame loop
  InputTranslator input;
  FrameRecorder recorder;
};
