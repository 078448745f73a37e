// An engine that draws nothing and remembers the quads and lines drawn, so that
// tests can read back what a widget or screen drew. Input is scripted.
#pragma once

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/hge.h"

class RecordingEngine : public HGE {
 public:
  struct Line {
    float x1, y1, x2, y2;
    std::uint32_t color;
  };

  // A texture of the given size, as if loaded from a PNG.
  HTEXTURE AddTexture(int width, int height) {
    textures.push_back({width, height});
    return textures.size();
  }
  void ClearCalls() { quads.clear(), lines.clear(); }
  void SetMousePos(float x, float y) { mouseX = x, mouseY = y; }
  void PressKey(int key) { pressed.push_back(key); }  // down until NextFrame
  void QueueEvent(const hgeInputEvent& event) { events.push_back(event); }
  void NextFrame() { pressed.clear(); }
  void SetDelta(float seconds) { delta = seconds; }

  std::vector<hgeQuad> quads;
  std::vector<Line> lines;
  std::vector<std::string> log;
  int scenesBegun = 0, scenesEnded = 0;

  void Release() override {}
  bool System_Initiate() override { return true; }
  void System_Shutdown() override {}
  bool System_Start() override { return true; }
  const char* System_GetErrorMessage() override { return ""; }
  void System_Log(const char* format, ...) override __attribute__((format(printf, 2, 3))) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    log.emplace_back(buffer);
  }
  void System_SetState(hgeBoolState, bool) override {}
  void System_SetState(hgeFuncState, hgeCallback) override {}
  void System_SetState(hgeIntState state, int value) override { numbers[state] = value; }
  void System_SetState(hgeStringState, const char*) override {}
  bool System_GetState(hgeBoolState) override { return false; }
  HWND System_GetState(hgeHwndState) override { return nullptr; }
  int System_GetState(hgeIntState state) override { return numbers[state]; }
  void* Resource_Load(const char*, std::uint32_t*) override { return nullptr; }
  void Resource_Free(void* resource) override { delete[] static_cast<char*>(resource); }
  // Only the PNG header is read: the size is all a recorded texture needs.
  HTEXTURE Texture_Load(const char* data, std::uint32_t size, bool) override {
    if (!data || size < 24 || std::memcmp(data, "\x89PNG\r\n\x1A\n", 8) != 0) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    return AddTexture(b[18] << 8 | b[19], b[22] << 8 | b[23]);  // sizes below 65536
  }
  void Texture_Free(HTEXTURE) override {}
  int Texture_GetWidth(HTEXTURE texture, bool) override { return Size(texture).first; }
  int Texture_GetHeight(HTEXTURE texture, bool) override { return Size(texture).second; }
  float Timer_GetDelta() override { return delta; }
  bool Input_KeyDown(int key) override {
    return std::find(pressed.begin(), pressed.end(), key) != pressed.end();
  }
  void Input_GetMousePos(float* x, float* y) override { *x = mouseX, *y = mouseY; }
  bool Input_GetEvent(hgeInputEvent* event) override {
    if (events.empty()) return false;
    *event = events.front();
    events.pop_front();
    return true;
  }
  bool Gfx_BeginScene(HTARGET) override { return ++scenesBegun; }
  void Gfx_EndScene() override { ++scenesEnded; }
  void Gfx_RenderLine(float x1, float y1, float x2, float y2, std::uint32_t color, float) override {
    lines.push_back({x1, y1, x2, y2, color});
  }
  void Gfx_RenderQuad(const hgeQuad* quad) override { quads.push_back(*quad); }
  void Gfx_SetClipping(int, int, int, int) override {}

 private:
  std::pair<int, int> Size(HTEXTURE texture) const {
    return texture && texture <= textures.size() ? textures[texture - 1] : std::pair(0, 0);
  }
  std::vector<std::pair<int, int>> textures;  // handle n is textures[n - 1]
  std::vector<int> pressed;
  std::deque<hgeInputEvent> events;
  float mouseX = 0, mouseY = 0, delta = 1.0f / 30;
  int numbers[4] = {600, 300, 30, 0};
};
