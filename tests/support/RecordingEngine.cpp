#include "support/RecordingEngine.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

HTEXTURE RecordingEngine::AddTexture(int width, int height) {
  textures.push_back({width, height});
  return textures.size();
}

std::vector<hgeQuad> RecordingEngine::Quads() const {
  std::vector<hgeQuad> out;
  for (const auto& call : calls)
    if (call.kind == Call::kQuad) out.push_back(call.quad);
  return out;
}

std::vector<RecordingEngine::Line> RecordingEngine::Lines() const {
  std::vector<Line> out;
  for (const auto& call : calls)
    if (call.kind == Call::kLine) out.push_back(call.line);
  return out;
}

std::vector<RecordingEngine::Clip> RecordingEngine::Clips() const {
  std::vector<Clip> out;
  for (const auto& call : calls)
    if (call.kind == Call::kClip) out.push_back(call.clip);
  return out;
}

void RecordingEngine::SetMousePos(float x, float y) {
  mouseX = x;
  mouseY = y;
}

void RecordingEngine::PressKey(int key) {
  pressed.push_back(key);
}

void RecordingEngine::QueueEvent(const hgeInputEvent& event) {
  events.push_back(event);
}

void RecordingEngine::NextFrame() {
  pressed.clear();
}

bool RecordingEngine::System_Start() {
  for (int frame = 0; frame < maxFrames; ++frame) {
    if (frameFunc && frameFunc()) return true;
    if (renderFunc) renderFunc();
    NextFrame();
  }
  return true;
}

void RecordingEngine::System_Log(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  log.emplace_back(buffer);
}

void RecordingEngine::System_SetState(hgeBoolState state, bool value) {
  boolStates[state] = value;
}

void RecordingEngine::System_SetState(hgeFuncState state, hgeCallback value) {
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

void RecordingEngine::System_SetState(hgeIntState state, int value) {
  switch (state) {
    case HGE_SCREENWIDTH:
      screenWidth = value;
      break;
    case HGE_SCREENHEIGHT:
      screenHeight = value;
      break;
    case HGE_FPS:
      fps = value;
      break;
    case HGE_ICON:
      icon = value;
      break;
  }
}

void RecordingEngine::System_SetState(hgeStringState, const char* value) {
  title = value ? value : "";
}

bool RecordingEngine::System_GetState(hgeBoolState state) {
  return boolStates[state];
}

int RecordingEngine::System_GetState(hgeIntState state) {
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

void* RecordingEngine::Resource_Load(const char* filename, std::uint32_t* size) {
  std::ifstream in(filename, std::ios::binary);
  if (!in) return nullptr;
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  char* buffer = new char[bytes.size() + 1];
  std::copy(bytes.begin(), bytes.end(), buffer);
  buffer[bytes.size()] = 0;
  if (size) *size = static_cast<std::uint32_t>(bytes.size());
  return buffer;
}

void RecordingEngine::Resource_Free(void* resource) {
  delete[] static_cast<char*>(resource);
}

HTEXTURE RecordingEngine::Texture_Load(const char* data, std::uint32_t size, bool) {
  // Only the PNG header is read: the size is all a recorded texture needs.
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!data || size < 24 || std::memcmp(data, kSignature, 8) != 0) return 0;
  const auto u32 = [&](int at) {
    const auto* b = reinterpret_cast<const unsigned char*>(data) + at;
    return int(b[0]) << 24 | int(b[1]) << 16 | int(b[2]) << 8 | int(b[3]);
  };
  return AddTexture(u32(16), u32(20));
}

int RecordingEngine::Texture_GetWidth(HTEXTURE texture, bool) {
  if (texture == 0 || texture > textures.size()) return 0;
  return textures[texture - 1].width;
}

int RecordingEngine::Texture_GetHeight(HTEXTURE texture, bool) {
  if (texture == 0 || texture > textures.size()) return 0;
  return textures[texture - 1].height;
}

bool RecordingEngine::Input_KeyDown(int key) {
  return std::find(pressed.begin(), pressed.end(), key) != pressed.end();
}

void RecordingEngine::Input_GetMousePos(float* x, float* y) {
  *x = mouseX;
  *y = mouseY;
}

bool RecordingEngine::Input_GetEvent(hgeInputEvent* event) {
  if (events.empty()) return false;
  *event = events.front();
  events.pop_front();
  return true;
}

bool RecordingEngine::Gfx_BeginScene(HTARGET) {
  ++scenesBegun;
  return true;
}

void RecordingEngine::Gfx_RenderLine(float x1, float y1, float x2, float y2, std::uint32_t color,
                                     float z) {
  Call call{};
  call.kind = Call::kLine;
  call.line = {x1, y1, x2, y2, color, z};
  calls.push_back(call);
}

void RecordingEngine::Gfx_RenderQuad(const hgeQuad* quad) {
  Call call{};
  call.kind = Call::kQuad;
  call.quad = *quad;
  calls.push_back(call);
}

void RecordingEngine::Gfx_SetClipping(int x, int y, int w, int h) {
  Call call{};
  call.kind = Call::kClip;
  call.clip = {x, y, w, h};
  calls.push_back(call);
}
