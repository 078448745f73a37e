// An engine that draws nothing and remembers every drawing call, so that tests
// can assert exactly what a widget or screen drew. Input is scripted.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/hge.h"

class RecordingEngine : public HGE {
 public:
  struct Line {
    float x1, y1, x2, y2;
    std::uint32_t color;
    float z;
  };
  struct Clip {
    int x, y, w, h;
  };
  // Every drawing call in order; exactly one of the three is set by kind.
  struct Call {
    enum Kind { kQuad, kLine, kClip } kind;
    hgeQuad quad;
    Line line;
    Clip clip;
  };
  struct Texture {
    int width, height;
  };

  // A texture of the given size, as if loaded from a PNG.
  HTEXTURE AddTexture(int width, int height);
  void ClearCalls() { calls.clear(); }
  std::vector<hgeQuad> Quads() const;
  std::vector<Line> Lines() const;
  std::vector<Clip> Clips() const;

  // Scripted input for the next frame.
  void SetMousePos(float x, float y);
  void PressKey(int key);  // Input_KeyDown(key) is true until NextFrame
  void QueueEvent(const hgeInputEvent& event);
  void NextFrame();  // forgets pressed keys; unread events stay queued
  void SetDelta(float seconds) { delta = seconds; }

  std::vector<Call> calls;
  std::vector<std::string> log;
  int scenesBegun = 0;
  int scenesEnded = 0;

  // HGE
  void Release() override {}
  bool System_Initiate() override { return true; }
  void System_Shutdown() override {}
  bool System_Start() override;
  const char* System_GetErrorMessage() override { return ""; }
  void System_Log(const char* format, ...) override __attribute__((format(printf, 2, 3)));
  void System_SetState(hgeBoolState state, bool value) override;
  void System_SetState(hgeFuncState state, hgeCallback value) override;
  void System_SetState(hgeIntState state, int value) override;
  void System_SetState(hgeStringState state, const char* value) override;
  bool System_GetState(hgeBoolState state) override;
  HWND System_GetState(hgeHwndState) override { return nullptr; }
  int System_GetState(hgeIntState state) override;
  void* Resource_Load(const char* filename, std::uint32_t* size) override;
  void Resource_Free(void* resource) override;
  HTEXTURE Texture_Load(const char* data, std::uint32_t size, bool mipmap) override;
  void Texture_Free(HTEXTURE) override {}
  int Texture_GetWidth(HTEXTURE texture, bool original) override;
  int Texture_GetHeight(HTEXTURE texture, bool original) override;
  float Timer_GetDelta() override { return delta; }
  bool Input_KeyDown(int key) override;
  void Input_GetMousePos(float* x, float* y) override;
  bool Input_GetEvent(hgeInputEvent* event) override;
  bool Gfx_BeginScene(HTARGET) override;
  void Gfx_EndScene() override { ++scenesEnded; }
  void Gfx_RenderLine(float x1, float y1, float x2, float y2, std::uint32_t color,
                      float z) override;
  void Gfx_RenderQuad(const hgeQuad* quad) override;
  void Gfx_SetClipping(int x, int y, int w, int h) override;

  hgeCallback frameFunc = nullptr, renderFunc = nullptr, exitFunc = nullptr;
  std::string title;
  int screenWidth = 600, screenHeight = 300, fps = 30, icon = 0;
  bool boolStates[6] = {};
  int maxFrames = 100;  // System_Start stops after this many frames

 private:
  std::vector<Texture> textures;  // handle n is textures[n - 1]
  std::vector<int> pressed;
  std::deque<hgeInputEvent> events;
  float mouseX = 0, mouseY = 0;
  float delta = 1.0f / 30;
};
