// The GUI toolkit's font over a BitmapFont: widget captions and text-field
// texts are drawn by the font's colour-code renderer, so "~y~" works in them.
#pragma once

#include <guichan/font.hpp>
#include <guichan/graphics.hpp>
#include <memory>
#include <string>

#include "text/BitmapFont.h"

namespace gcn {

class HGEImageFont : public Font {
 public:
  // Draws with font. With ownsFont the adapter destroys the font with itself;
  // the program's adapters share one font and own nothing.
  HGEImageFont(BitmapFont* font, bool ownsFont);
  // Loads its own font with the descriptor file loader and owns it.
  explicit HGEImageFont(const std::string& descriptorName);
  ~HGEImageFont() override;
  HGEImageFont(const HGEImageFont&) = delete;
  HGEImageFont& operator=(const HGEImageFont&) = delete;

  BitmapFont* getFont() const { return font; }
  // Draws and measures text as it stands, with no colour codes taken from it:
  // for names from the archive or the file system and for typed text.
  void setLiteral(bool value) { literal = value; }

  // The widest line's width, truncated, plus 1 (an empty text measures 1).
  int getWidth(const std::string& text) const override;
  // The width of one character, truncated.
  int getWidth(unsigned char glyph) const;
  int getHeight() const override;
  // Index of the first character at which the summed character widths pass x;
  // the text's length when they never do.
  int getStringIndexAt(const std::string& text, int x) const override;
  // Sets the font to the graphics' colour and draws left-aligned, in colour
  // mode, relative to the graphics' current clip area.
  void drawString(Graphics* graphics, const std::string& text, int x, int y) override;

 private:
  BitmapFont* font;
  std::unique_ptr<BitmapFont> ownedFont;
  bool literal = false;
};

}  // namespace gcn
