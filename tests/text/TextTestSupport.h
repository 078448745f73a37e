// Shared set-up for the text tests: a recording engine installed as the
// process's engine, and a small font whose glyph widths are easy to add up.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/RecordingEngine.h"
#include "text/BitmapFont.h"

// Serves files from memory and remembers every name it was asked for, so that
// the descriptor file loader can be tested without a disk or a real image.
class FileServingEngine : public RecordingEngine {
 public:
  void* Resource_Load(const char* filename, std::uint32_t* size) override {
    requested.emplace_back(filename);
    const auto found = files.find(filename);
    if (found == files.end()) return nullptr;
    char* buffer = new char[found->second.size() + 1];
    std::copy(found->second.begin(), found->second.end(), buffer);
    if (size) *size = static_cast<std::uint32_t>(found->second.size());
    return buffer;
  }

  std::map<std::string, std::string> files;
  std::vector<std::string> requested;
};

// The first bytes of a PNG image of the given size: all the recording engine reads.
inline std::string PngHeader(int width, int height) {
  std::string bytes = "\x89PNG\r\n\x1a\n";
  bytes += std::string("\0\0\0\x0dIHDR", 8);
  for (int value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8)
      bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto owned = std::make_unique<FileServingEngine>();
    engine = owned.get();
    hgeInstall(std::move(owned));
  }

  std::unique_ptr<BitmapFont> FontFrom(const std::string& descriptor, HTEXTURE texture,
                                       int offsetX = 0, int offsetY = 0) {
    return std::make_unique<BitmapFont>(descriptor.data(),
                                        static_cast<std::uint32_t>(descriptor.size()), texture,
                                        false, offsetX, offsetY);
  }

  // Glyphs on a 256x256 texture, all 24 high, each in its own column of 16
  // pixels so that a drawn quad tells which glyph it is. Advances:
  // A 10 (pre 1, width 10, post -1), B 8, ? 6, ~ 4, x 5, Y 7, 1 1, \xE9 (é) 6.
  std::unique_ptr<BitmapFont> TestFont() {
    texture = engine->AddTexture(256, 256);
    return FontFrom(
        "[HGEFONT]\n"
        "Char=\"A\",0,0,10,24,1,-1\n"
        "Char=\"B\",16,0,8,24,0,0\n"
        "Char=\"?\",32,0,5,24,0,1\n"
        "Char=\"~\",48,0,4,24,0,0\n"
        "Char=\"x\",64,0,5,24,0,0\n"
        "Char=\"Y\",80,0,7,24,0,0\n"
        "Char=\"1\",96,0,1,24,0,0\n"
        "Char=E9,112,0,6,24,0,0\n",
        texture);
  }

  FileServingEngine* engine = nullptr;
  HTEXTURE texture = 0;
};

// What one drawn glyph quad shows: which glyph (by its texture column), where
// its top-left corner went, its size and colour.
struct DrawnGlyph {
  char glyph;
  float x, y, width, height;
  std::uint32_t color;
};

inline std::vector<DrawnGlyph> DrawnGlyphs(const RecordingEngine& engine) {
  static const char kColumns[] = "AB?~xY1e";
  std::vector<DrawnGlyph> drawn;
  for (const hgeQuad& quad : engine.Quads()) {
    const int column = static_cast<int>(std::lround(quad.v[0].tx * 256)) / 16;
    const char glyph = column >= 0 && column < 8 ? kColumns[column] : '#';
    drawn.push_back({glyph, quad.v[0].x, quad.v[0].y, quad.v[2].x - quad.v[0].x,
                     quad.v[2].y - quad.v[0].y, quad.v[0].col});
  }
  return drawn;
}

inline std::string GlyphsOf(const std::vector<DrawnGlyph>& drawn) {
  std::string glyphs;
  for (const auto& g : drawn) glyphs += g.glyph;
  return glyphs;
}
