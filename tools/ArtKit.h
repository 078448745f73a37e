// Small drawing kit shared by the artwork generators (make_skin, make_icon).
//
// Shapes are signed distance functions in pixel units, so edges come out anti-aliased at any size
// and an outline is just the same shape grown by its width. Pixels are kept premultiplied in
// floating point while drawing and written once as 8-bit straight-alpha RGBA, which keeps the
// output byte-identical from run to run.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace art {

struct Color {
  double r = 0, g = 0, b = 0, a = 1;  // straight alpha, 0..1
};

inline Color rgb(int r, int g, int b, double a = 1.0) {
  return {r / 255.0, g / 255.0, b / 255.0, a};
}
inline Color grey(int v, double a = 1.0) {
  return rgb(v, v, v, a);
}
inline Color mix(const Color& from, const Color& to, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}
inline Color withAlpha(Color c, double a) {
  c.a = a;
  return c;
}

struct Vec {
  double x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, double s) {
  return {a.x * s, a.y * s};
}
inline double dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y;
}
inline double length(Vec a) {
  return std::sqrt(dot(a, a));
}

// Distance from a point to the shape's edge: negative inside, positive outside.
using Shape = std::function<double(Vec)>;
// Colour of the paint at a point (gradients are paints that depend on the point).
using Paint = std::function<Color(Vec)>;

inline Paint solid(Color c) {
  return [c](Vec) { return c; };
}
// Vertical gradient between two rows (outside them the end colours hold).
inline Paint verticalGradient(double y0, Color top, double y1, Color bottom) {
  return [=](Vec p) { return mix(top, bottom, (p.y - y0) / (y1 - y0)); };
}

namespace shape {

inline Shape circle(Vec centre, double radius) {
  return [=](Vec p) { return length(p - centre) - radius; };
}

// Axis-aligned box from (x0, y0) to (x1, y1) with corners rounded by radius.
inline Shape box(double x0, double y0, double x1, double y1, double radius = 0) {
  return [=](Vec p) {
    const Vec centre{(x0 + x1) / 2, (y0 + y1) / 2};
    const Vec half{(x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius};
    const Vec q{std::fabs(p.x - centre.x) - half.x, std::fabs(p.y - centre.y) - half.y};
    const Vec outside{std::max(q.x, 0.0), std::max(q.y, 0.0)};
    return length(outside) + std::min(std::max(q.x, q.y), 0.0) - radius;
  };
}

// A stroke from a to b with round ends.
inline Shape segment(Vec a, Vec b, double radius) {
  return [=](Vec p) {
    const Vec pa = p - a, ba = b - a;
    const double h = std::clamp(dot(pa, ba) / dot(ba, ba), 0.0, 1.0);
    return length(pa - ba * h) - radius;
  };
}

// A stroke along a polyline.
inline Shape polyline(std::vector<Vec> points, double radius) {
  return [points = std::move(points), radius](Vec p) {
    double best = 1e9;
    for (size_t i = 1; i < points.size(); ++i) {
      best = std::min(best, segment(points[i - 1], points[i], radius)(p));
    }
    return best;
  };
}

// Any simple polygon, exact distance (even-odd rule for the inside).
inline Shape polygon(std::vector<Vec> v) {
  return [v = std::move(v)](Vec p) {
    double d = dot(p - v[0], p - v[0]);
    double sign = 1.0;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
      const Vec e = v[j] - v[i], w = p - v[i];
      const Vec b = w - e * std::clamp(dot(w, e) / dot(e, e), 0.0, 1.0);
      d = std::min(d, dot(b, b));
      const bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(d);
  };
}

inline Shape grow(Shape s, double amount) {
  return [s = std::move(s), amount](Vec p) { return s(p) - amount; };
}
inline Shape unite(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Vec p) { return std::min(a(p), b(p)); };
}
inline Shape intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Vec p) { return std::max(a(p), b(p)); };
}
inline Shape subtract(Shape from, Shape cut) {
  return
      [from = std::move(from), cut = std::move(cut)](Vec p) { return std::max(from(p), -cut(p)); };
}
inline Shape translate(Shape s, Vec by) {
  return [s = std::move(s), by](Vec p) { return s(p - by); };
}

}  // namespace shape

// Coverage of grey levels rendered from a font: one float per pixel, 0..1.
struct Mask {
  int width = 0;
  int height = 0;
  int baseline = 0;  // row of the baseline inside the mask
  std::vector<float> coverage;
  float at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
    return coverage[static_cast<size_t>(y) * width + x];
  }
};

class Image {
 public:
  Image(int width, int height)
      : width_(width), height_(height), px_(static_cast<size_t>(width) * height * 4, 0.0) {}

  int width() const { return width_; }
  int height() const { return height_; }

  // Composites c over the pixel with the given coverage.
  void blend(int x, int y, const Color& c, double coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const double a = std::clamp(c.a * coverage, 0.0, 1.0);
    if (a <= 0.0) return;
    double* p = &px_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = c.r * a + p[0] * (1 - a);
    p[1] = c.g * a + p[1] * (1 - a);
    p[2] = c.b * a + p[2] * (1 - a);
    p[3] = a + p[3] * (1 - a);
  }

  void set(int x, int y, const Color& c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    double* p = &px_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = c.r * c.a;
    p[1] = c.g * c.a;
    p[2] = c.b * c.a;
    p[3] = c.a;
  }

  Color get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {0, 0, 0, 0};
    const double* p = &px_[(static_cast<size_t>(y) * width_ + x) * 4];
    if (p[3] <= 0.0) return {0, 0, 0, 0};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
  }

  // 8-bit straight-alpha RGBA, row by row; fully transparent pixels are all zero.
  std::vector<unsigned char> rgba8() const {
    std::vector<unsigned char> out(static_cast<size_t>(width_) * height_ * 4);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const Color c = get(x, y);
        unsigned char* o = &out[(static_cast<size_t>(y) * width_ + x) * 4];
        const int alpha = static_cast<int>(std::lround(std::clamp(c.a, 0.0, 1.0) * 255));
        if (alpha == 0) {
          o[0] = o[1] = o[2] = o[3] = 0;
          continue;
        }
        o[0] = static_cast<unsigned char>(std::lround(std::clamp(c.r, 0.0, 1.0) * 255));
        o[1] = static_cast<unsigned char>(std::lround(std::clamp(c.g, 0.0, 1.0) * 255));
        o[2] = static_cast<unsigned char>(std::lround(std::clamp(c.b, 0.0, 1.0) * 255));
        o[3] = static_cast<unsigned char>(alpha);
      }
    }
    return out;
  }

  void writePng(const std::string& path) const {
    std::vector<unsigned char> bytes = rgba8();
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width_);
    image.height = static_cast<png_uint_32>(height_);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr)) {
      throw std::runtime_error("cannot write " + path + ": " + image.message);
    }
  }

 private:
  int width_;
  int height_;
  std::vector<double> px_;
};

// A rectangle of an image that drawing is confined to; coordinates are local to it.
class Region {
 public:
  Region(Image& image, int x, int y, int width, int height)
      : image_(image), x_(x), y_(y), width_(width), height_(height) {}

  int width() const { return width_; }
  int height() const { return height_; }

  void fill(const Shape& s, const Paint& paint) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const Vec p{x + 0.5, y + 0.5};
        const double coverage = std::clamp(0.5 - s(p), 0.0, 1.0);
        if (coverage > 0.0) image_.blend(x_ + x, y_ + y, paint(p), coverage);
      }
    }
  }
  void fill(const Shape& s, const Color& c) { fill(s, solid(c)); }

  // The shape with an outline of the given width around it, both anti-aliased.
  void outlined(const Shape& s, const Paint& paint, const Color& outline, double width) {
    fill(shape::grow(s, width), outline);
    fill(s, paint);
  }

  void put(int x, int y, const Color& c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) image_.set(x_ + x, y_ + y, c);
  }
  void blend(int x, int y, const Color& c, double coverage) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) image_.blend(x_ + x, y_ + y, c, coverage);
  }
  Color get(int x, int y) const { return image_.get(x_ + x, y_ + y); }

  // Pixel art: one string per row, one palette character per pixel ('.' is left untouched).
  void pixels(int ox, int oy, const std::vector<std::string>& rows,
              const std::map<char, Color>& palette) {
    for (size_t row = 0; row < rows.size(); ++row) {
      for (size_t col = 0; col < rows[row].size(); ++col) {
        const char key = rows[row][col];
        if (key == '.') continue;
        const auto found = palette.find(key);
        if (found == palette.end()) {
          throw std::runtime_error(std::string("pixel art uses an unknown colour '") + key + "'");
        }
        blend(ox + static_cast<int>(col), oy + static_cast<int>(row), found->second, 1.0);
      }
    }
  }

  // Draws a font mask with its baseline on row baselineY, its left edge at x.
  void text(const Mask& m, int x, int baselineY, const Paint& paint) {
    const int top = baselineY - m.baseline;
    for (int y = 0; y < m.height; ++y) {
      for (int xx = 0; xx < m.width; ++xx) {
        const float c = m.at(xx, y);
        if (c > 0.0f) blend(x + xx, top + y, paint(Vec{x + xx + 0.5, top + y + 0.5}), c);
      }
    }
  }

  // Copies a rectangle of another image here, replacing what is under it.
  void copy(const Image& from, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) put(dx + x, dy + y, from.get(sx + x, sy + y));
    }
  }

 private:
  Image& image_;
  int x_, y_, width_, height_;
};

// One TrueType face at one pixel size.
class Font {
 public:
  Font(const std::string& path, int pixelSize) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType does not start");
    library_.reset(library);
    FT_Face face = nullptr;
    if (FT_New_Face(library_.get(), path.c_str(), 0, &face) != 0) {
      throw std::runtime_error("cannot open the font " + path);
    }
    face_.reset(face);
    if (FT_Set_Pixel_Sizes(face_.get(), 0, static_cast<FT_UInt>(pixelSize)) != 0) {
      throw std::runtime_error("the font " + path + " has no size " + std::to_string(pixelSize));
    }
  }

  // Renders a line of text (Latin-1 bytes) into a coverage mask.
  Mask render(const std::string& text) const {
    struct Placed {
      int x, top, width, rows;
      std::vector<unsigned char> bits;
    };
    std::vector<Placed> glyphs;
    int pen = 0, minX = 0, maxX = 0, maxAbove = 0, maxBelow = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
      const FT_UInt index = FT_Get_Char_Index(face_.get(), ch);
      if (previous != 0 && index != 0 && FT_HAS_KERNING(face_.get())) {
        FT_Vector kern{};
        FT_Get_Kerning(face_.get(), previous, index, FT_KERNING_DEFAULT, &kern);
        pen += static_cast<int>(kern.x >> 6);
      }
      if (FT_Load_Glyph(face_.get(), index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
        throw std::runtime_error("cannot render a glyph");
      }
      const FT_GlyphSlot slot = face_->glyph;
      Placed placed{pen + slot->bitmap_left,
                    slot->bitmap_top,
                    static_cast<int>(slot->bitmap.width),
                    static_cast<int>(slot->bitmap.rows),
                    {}};
      for (int r = 0; r < placed.rows; ++r) {
        const unsigned char* row = slot->bitmap.buffer + r * slot->bitmap.pitch;
        placed.bits.insert(placed.bits.end(), row, row + placed.width);
      }
      minX = std::min(minX, placed.x);
      maxX = std::max(maxX, placed.x + placed.width);
      maxAbove = std::max(maxAbove, placed.top);
      maxBelow = std::max(maxBelow, placed.rows - placed.top);
      pen += static_cast<int>(slot->advance.x >> 6);
      maxX = std::max(maxX, pen);
      glyphs.push_back(std::move(placed));
      previous = index;
    }
    Mask m;
    m.width = maxX - minX;
    m.height = maxAbove + maxBelow;
    m.baseline = maxAbove;
    m.coverage.assign(static_cast<size_t>(m.width) * m.height, 0.0f);
    for (const Placed& g : glyphs) {
      for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.width; ++c) {
          const int x = g.x - minX + c, y = maxAbove - g.top + r;
          float& cell = m.coverage[static_cast<size_t>(y) * m.width + x];
          cell = std::min(1.0f, cell + g.bits[static_cast<size_t>(r) * g.width + c] / 255.0f);
        }
      }
    }
    return m;
  }

 private:
  struct LibraryDone {
    void operator()(FT_Library l) const { FT_Done_FreeType(l); }
  };
  struct FaceDone {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
  };
  // The face goes before the library it belongs to (members die in reverse order).
  std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDone> library_;
  std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDone> face_;
};

inline const char* kFontRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline const char* kFontBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

}  // namespace art
