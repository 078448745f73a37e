// The program's one bitmap font: a texture of glyph cells plus an "[HGEFONT]"
// descriptor that places each character's cell and says how far the pen moves
// around it. Drawing understands colour codes such as "~y~" (yellow) and "~w~".
// Text is UTF-8 (or, when it is not valid UTF-8, Windows-1252 bytes); each
// character is drawn with the glyph of its Windows-1252 byte, and a character
// the font lacks with the question mark's glyph.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/hge.h"
#include "text/Sprite.h"

class BitmapFont {
 public:
  // Longest descriptor line that is read; the rest of a longer line is dropped.
  static constexpr std::size_t kMaxLineLength = 255;
  // Longest image path built from the descriptor name and its "Bitmap" line.
  static constexpr std::size_t kMaxPathLength = 4095;
  // Bytes Printf formats into, NUL included.
  static constexpr std::size_t kPrintfBufferSize = 512;

  // Alignment values for Render and Printf (bits 0-1; 3 acts as left).
  enum Align : int { kLeft = 0, kRight = 1, kCentre = 2 };

  // Reads the descriptor named descriptorName with the engine's Resource_Load and
  // the image its "Bitmap" line names, relative to the descriptor's folder. The
  // font owns the textures it loads.
  explicit BitmapFont(const char* descriptorName, bool mipmap = false);
  // Reads size descriptor bytes (copied; need not end in NUL). Glyph rectangles
  // refer to texture, shifted by (offsetX, offsetY); "Bitmap" lines are ignored.
  // ownsTexture says whether the font frees texture when it is destroyed.
  BitmapFont(const char* data, std::uint32_t size, HTEXTURE texture, bool ownsTexture,
             int offsetX = 0, int offsetY = 0);
  ~BitmapFont();
  BitmapFont(const BitmapFont&) = delete;
  BitmapFont& operator=(const BitmapFont&) = delete;

  // Draws text with the top of its first line at y. In plain mode colour codes
  // are swallowed without changing the colour. The colour in force at the end
  // stays in the font.
  void Render(float x, float y, int align, const char* text, bool plain = false);
  // Formats into a 512-byte buffer (longer results are cut at 511 bytes) and
  // draws the result as Render does. plain is an int only because a variadic
  // function's last named parameter must not be subject to promotion; pass
  // true or false.
  void Printf(float x, float y, int align, const char* format, int plain, ...)
      __attribute__((format(printf, 5, 7)));

  // Width in pixels: of the first line, or with multiline of the widest line.
  // Colour codes measure nothing.
  float GetStringWidth(const char* text, bool multiline = true) const;

  // Sets the colour of all later text (and of every glyph sprite).
  void SetColor(std::uint32_t color);
  // Literal mode draws and measures "~" and "\n" like any other character (a
  // line break with the fallback glyph): for one-line names from archives and
  // the file system, which must neither recolour the screen nor break lines.
  // The font is shared, so literal mode is only ever set for a scope: the
  // guard sets it and puts the previous mode back however the scope is left.
  class LiteralScope {
   public:
    explicit LiteralScope(BitmapFont& font, bool on = true) : font(font), previous(font.literal) {
      font.literal = on;
    }
    ~LiteralScope() { font.literal = previous; }
    LiteralScope(const LiteralScope&) = delete;
    LiteralScope& operator=(const LiteralScope&) = delete;

   private:
    BitmapFont& font;
    bool previous;
  };
  bool IsLiteral() const { return literal; }
  void SetZ(float z);
  void SetBlendMode(int blend);
  void SetScale(float value) { scale = value; }
  void SetProportion(float value) { proportion = value; }
  void SetRotation(float radians) { rotation = radians; }
  void SetTracking(float pixels) { tracking = pixels; }
  void SetSpacing(float factor) { spacing = factor; }

  std::uint32_t GetColor() const { return color; }
  float GetZ() const { return z; }
  int GetBlendMode() const { return blend; }
  float GetScale() const { return scale; }
  float GetProportion() const { return proportion; }
  float GetRotation() const { return rotation; }
  float GetTracking() const { return tracking; }
  float GetSpacing() const { return spacing; }
  // The tallest glyph cell loaded, unscaled; 0 for an empty font.
  float GetHeight() const { return height; }
  HTEXTURE GetTexture() const { return texture; }
  // The glyph of a character code, or nullptr when it has none.
  Sprite* GetSprite(unsigned char code) const { return glyphs[code].get(); }
  float GetPreWidth(unsigned char code) const { return pre[code]; }
  float GetPostWidth(unsigned char code) const { return post[code]; }

 private:
  void Load(const char* data, std::size_t size, bool fromFile, bool mipmap, int offsetX,
            int offsetY);
  void ReadGlyphLine(const std::string& line, int lineNumber, int offsetX, int offsetY);
  bool LoadBitmap(const std::string& line, bool mipmap);
  void LogIgnoredLine(int lineNumber, const char* reason);
  // The glyph drawn for code (256: none): its own, else the question mark's; -1 for none.
  int DrawnCode(int code) const;
  float LineWidth(const char*& text, bool utf8) const;
  float Width(const char* text, bool multiline, bool utf8) const;
  float AlignedPen(float x, int horizontal, const char* line, bool utf8) const;

  HGE* engine;
  std::string name;  // for log lines: the descriptor name, or "from memory"
  HTEXTURE texture = 0;
  std::array<std::unique_ptr<Sprite>, 256> glyphs;
  std::array<float, 256> pre{};
  std::array<float, 256> post{};
  float height = 0;
  float scale = 1.0f;
  float proportion = 1.0f;
  float rotation = 0;
  float tracking = 0;
  float spacing = 1.0f;
  std::uint32_t color = 0xFFFFFFFF;
  bool literal = false;
  float z = 0.5f;
  int blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE;
  bool ownsTexture = true;
  // Textures of earlier "Bitmap" lines that later ones replaced; glyphs still
  // use them, so they are freed with the font.
  std::vector<HTEXTURE> replacedTextures;
};
