// Rasterises DejaVu Sans into the program's bitmap font: a 256x256 RGBA image
// of white glyphs on transparent ground, and its "[HGEFONT]" descriptor with one
// glyph for every code 0x20-0xFF (Windows-1252 characters above 0x7F).
//
// Regenerate (from the repository root; needs libfreetype-dev, libpng-dev and
// fonts-dejavu-core):
//   cmake -S . -B build-tools -DTARNWICK_TOOLS=ON -DTARNWICK_TESTS=OFF
//   cmake --build build-tools --target regenerate_font -j2
// or run the tool by hand: build-tools/tools/make_font
//   /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf resources/Myriad20.png resources/Myriad20.fnt
//
// Every cell is 24 pixels high with the baseline on its row 18, so the font's
// height is 24: the widget kit derives its sizes from it (a button sized to its
// caption is 32 high, a text field 28, an empty check box 17x24). Pre and post
// carry each glyph's side bearings, so the pen advances by the font's own
// (whole-pixel) advance width. The output is the same on every run.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kImageSize = 256;
constexpr int kCellHeight = 24;
constexpr int kRowPitch = kCellHeight + 1;  // one empty row between cell rows
constexpr int kBaseline = 18;               // cell row the baseline sits on
constexpr int kPixelSize = 16;              // em size in pixels
constexpr int kFirstCode = 0x20;
constexpr int kLastCode = 0xFF;

// Windows-1252 0x80-0x9F; 0 where the code page defines no character, which
// gets the font's "missing character" box.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t UnicodeOf(int code) {
  if (code == 0x7F) return 0;  // DEL: no character
  if (code >= 0x80 && code <= 0x9F) return kWindows1252High[code - 0x80];
  return static_cast<char32_t>(code);
}

struct Glyph {
  int code = 0;
  int x = 0, y = 0, width = 0;
  int pre = 0, post = 0;
};

class Image {
 public:
  Image() : pixels(kImageSize * kImageSize * 4, 0) {
    // Transparent white, so that filtering at glyph edges never darkens them.
    for (std::size_t i = 0; i < pixels.size(); i += 4)
      pixels[i] = pixels[i + 1] = pixels[i + 2] = 255;
  }
  void SetAlpha(int x, int y, std::uint8_t alpha) { pixels[(y * kImageSize + x) * 4 + 3] = alpha; }

  bool WritePng(const char* path) const {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && !setjmp(png_jmpbuf(png));
    if (ok) {
      png_init_io(png, file);
      png_set_IHDR(png, info, kImageSize, kImageSize, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                   PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
      png_set_compression_level(png, 9);
      png_write_info(png, info);
      for (int y = 0; y < kImageSize; ++y)
        png_write_row(png, const_cast<png_bytep>(&pixels[y * kImageSize * 4]));
      png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
  }

 private:
  std::vector<std::uint8_t> pixels;
};

std::string DescriptorLine(const Glyph& glyph) {
  char code[16];
  if (glyph.code <= 0x7E)
    std::snprintf(code, sizeof code, "\"%c\"", static_cast<char>(glyph.code));
  else
    std::snprintf(code, sizeof code, "%02X", glyph.code);
  char line[96];
  std::snprintf(line, sizeof line, "Char=%s,%d,%d,%d,%d,%d,%d\n", code, glyph.x, glyph.y,
                glyph.width, kCellHeight, glyph.pre, glyph.post);
  return line;
}

int Fail(const char* what, const char* detail) {
  std::fprintf(stderr, "make_font: %s%s\n", what, detail);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: make_font FONT.ttf OUT.png OUT.fnt", "");
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[1], 0, &face))
    return Fail("cannot open font ", argv[1]);
  if (FT_Set_Pixel_Sizes(face, 0, kPixelSize)) return Fail("cannot size font ", argv[1]);

  Image image;
  std::vector<Glyph> glyphs;
  int penX = 0, penY = 0, clipped = 0;
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    const char32_t unicode = UnicodeOf(code);
    const FT_UInt index = unicode ? FT_Get_Char_Index(face, unicode) : 0;
    if (unicode && index == 0)
      std::fprintf(stderr, "make_font: U+%04X not in font\n", unsigned(unicode));
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL))
      return Fail("cannot render a glyph of ", argv[1]);
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int advance = static_cast<int>((slot->advance.x + 32) >> 6);

    Glyph glyph;
    glyph.code = code;
    const bool blank = bitmap.width == 0 || bitmap.rows == 0;
    glyph.width = blank ? advance : static_cast<int>(bitmap.width);
    glyph.pre = blank ? 0 : slot->bitmap_left;
    glyph.post = advance - glyph.pre - glyph.width;
    if (penX + glyph.width > kImageSize) {
      penX = 0;
      penY += kRowPitch;
    }
    if (penY + kCellHeight > kImageSize) return Fail("glyphs do not fit the image", "");
    glyph.x = penX;
    glyph.y = penY;
    if (!blank) {
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int cellRow = kBaseline - slot->bitmap_top + static_cast<int>(row);
        for (unsigned column = 0; column < bitmap.width; ++column) {
          const std::uint8_t alpha = bitmap.buffer[row * bitmap.pitch + column];
          if (cellRow < 0 || cellRow >= kCellHeight) {
            clipped += alpha != 0;
            continue;
          }
          image.SetAlpha(penX + static_cast<int>(column), penY + cellRow, alpha);
        }
      }
    }
    penX += glyph.width + 1;
    glyphs.push_back(glyph);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (clipped) std::fprintf(stderr, "make_font: %d pixels fell outside their cells\n", clipped);

  if (!image.WritePng(argv[2])) return Fail("cannot write ", argv[2]);
  std::string descriptor = "[HGEFONT]\nBitmap=Myriad20.png\n";
  for (const Glyph& glyph : glyphs) descriptor += DescriptorLine(glyph);
  FILE* file = std::fopen(argv[3], "wb");
  if (!file || std::fwrite(descriptor.data(), 1, descriptor.size(), file) != descriptor.size() ||
      std::fclose(file) != 0)
    return Fail("cannot write ", argv[3]);
  std::printf("make_font: %zu glyphs, last cell row at y %d\n", glyphs.size(), penY);
  return 0;
}
