// The graphics and input engine the program draws and reads input through.
//
// One engine exists per process (hgeCreate returns it). The program uses the
// SDL2 backend; tests install a recording backend with hgeInstall so that every
// quad, line and clip call can be asserted exactly.
#pragma once

#include <cstdint>
#include <memory>

#define HGE_VERSION 0x180

using HTEXTURE = std::uintptr_t;
using HTARGET = std::uintptr_t;
using HWND = void*;

// Blend modes: colour multiply, alpha blend, no depth write.
enum : int { BLEND_COLORMUL = 0, BLEND_ALPHABLEND = 2, BLEND_NOZWRITE = 0, BLEND_DEFAULT = 2 };

struct hgeVertex {
  float x = 0, y = 0;  // window position
  float z = 0.5f;
  std::uint32_t col = 0xFFFFFFFF;  // ARGB
  float tx = 0, ty = 0;            // texture coordinates, 0..1
};

// Vertex 0 is the top-left corner, then clockwise.
struct hgeQuad {
  hgeVertex v[4];
  HTEXTURE tex = 0;
  int blend = BLEND_DEFAULT;
};

using hgeCallback = bool (*)();

enum hgeBoolState {
  HGE_WINDOWED,
  HGE_USESOUND,
  HGE_SHOWSPLASH,
  HGE_TEXTUREFILTER,
  HGE_DONTSUSPEND,
  HGE_HIDEMOUSE,
};
enum hgeFuncState { HGE_FRAMEFUNC, HGE_RENDERFUNC, HGE_EXITFUNC };
enum hgeHwndState { HGE_HWND };
enum hgeIntState { HGE_SCREENWIDTH, HGE_SCREENHEIGHT, HGE_FPS, HGE_ICON };
enum hgeStringState { HGE_TITLE };

// Keys: virtual key codes as the engine reports them.
enum : int {
  HGEK_LBUTTON = 0x01,
  HGEK_RBUTTON = 0x02,
  HGEK_MBUTTON = 0x04,
  HGEK_BACKSPACE = 0x08,
  HGEK_TAB = 0x09,
  HGEK_ENTER = 0x0D,
  HGEK_SHIFT = 0x10,
  HGEK_CTRL = 0x11,
  HGEK_ALT = 0x12,
  HGEK_ESCAPE = 0x1B,
  HGEK_SPACE = 0x20,
  HGEK_PGUP = 0x21,
  HGEK_PGDN = 0x22,
  HGEK_END = 0x23,
  HGEK_HOME = 0x24,
  HGEK_LEFT = 0x25,
  HGEK_UP = 0x26,
  HGEK_RIGHT = 0x27,
  HGEK_DOWN = 0x28,
  HGEK_INSERT = 0x2D,
  HGEK_DELETE = 0x2E,
};

// Input events in the order they happened, for the GUI toolkit.
enum : int {
  INPUT_KEYDOWN = 1,
  INPUT_KEYUP = 2,
  INPUT_MBUTTONDOWN = 3,
  INPUT_MBUTTONUP = 4,
  INPUT_MOUSEMOVE = 5,
  INPUT_MOUSEWHEEL = 6,
};
enum : int { HGEINP_SHIFT = 1, HGEINP_CTRL = 2, HGEINP_ALT = 4 };

struct hgeInputEvent {
  int type = 0;   // INPUT_*
  int key = 0;    // HGEK_* for keys and mouse buttons
  int flags = 0;  // HGEINP_*
  int chr = 0;    // the character typed (a Unicode code point), 0 for none
  int wheel = 0;  // wheel steps, positive away from the user
  float x = 0, y = 0;
};

class HGE {
 public:
  virtual ~HGE() = default;

  virtual void Release() = 0;
  virtual bool System_Initiate() = 0;
  virtual void System_Shutdown() = 0;
  virtual bool System_Start() = 0;
  virtual const char* System_GetErrorMessage() = 0;
  virtual void System_Log(const char* format, ...) __attribute__((format(printf, 2, 3))) = 0;

  virtual void System_SetState(hgeBoolState state, bool value) = 0;
  virtual void System_SetState(hgeFuncState state, hgeCallback value) = 0;
  virtual void System_SetState(hgeIntState state, int value) = 0;
  virtual void System_SetState(hgeStringState state, const char* value) = 0;
  virtual bool System_GetState(hgeBoolState state) = 0;
  virtual HWND System_GetState(hgeHwndState state) = 0;
  virtual int System_GetState(hgeIntState state) = 0;

  // Reads a file into a new buffer; nullptr when it cannot. Free with Resource_Free.
  virtual void* Resource_Load(const char* filename, std::uint32_t* size = nullptr) = 0;
  virtual void Resource_Free(void* resource) = 0;

  // A texture from PNG bytes in memory; 0 when they cannot be decoded.
  virtual HTEXTURE Texture_Load(const char* data, std::uint32_t size, bool mipmap = false) = 0;
  virtual void Texture_Free(HTEXTURE texture) = 0;
  virtual int Texture_GetWidth(HTEXTURE texture, bool original = false) = 0;
  virtual int Texture_GetHeight(HTEXTURE texture, bool original = false) = 0;

  virtual float Timer_GetDelta() = 0;

  // True only in the frame in which the key or button went down.
  virtual bool Input_KeyDown(int key) = 0;
  virtual void Input_GetMousePos(float* x, float* y) = 0;
  // Next event of this frame; false when none is left.
  virtual bool Input_GetEvent(hgeInputEvent* event) = 0;

  virtual bool Gfx_BeginScene(HTARGET target = 0) = 0;
  virtual void Gfx_EndScene() = 0;
  virtual void Gfx_RenderLine(float x1, float y1, float x2, float y2,
                              std::uint32_t color = 0xFFFFFFFF, float z = 0.5f) = 0;
  virtual void Gfx_RenderQuad(const hgeQuad* quad) = 0;
  // All zeros: the whole window.
  virtual void Gfx_SetClipping(int x = 0, int y = 0, int w = 0, int h = 0) = 0;

  // For dialogs that hold up the main thread (the file chooser): waits out the
  // rest of the frame period and reads the input of a new frame, which is
  // dropped while a modal dialog is up; true when the user asked to close the
  // window (the frame loop then sees that request too). An engine without a
  // frame loop of its own returns at once.
  virtual bool System_NextModalFrame() { return false; }
  // Draws the current screen again through the render callback.
  virtual void System_Redraw() {}
};

// The process's engine; version must be HGE_VERSION. Each call returns the same
// engine: the installed one, or the SDL2 backend made on first use.
HGE* hgeCreate(int version);
// Makes engine the process's engine (tests install a recording backend).
void hgeInstall(std::unique_ptr<HGE> engine);
