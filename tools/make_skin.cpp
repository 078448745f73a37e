// Draws the skin atlas, resources/Main.png (512 x 512 RGBA), and a labelled preview sheet of it,
// docs/skin-preview.png.
//
// Regenerate (from the repository root):
//   cmake -S . -B build-tools -DTARNWICK_TOOLS=ON -DTARNWICK_TESTS=OFF
//   cmake --build build-tools --target regenerate_artwork -j2
// or run the tool by hand: build-tools/tools/make_skin resources/Main.png docs/skin-preview.png
//
// The widgets cut fixed rectangles out of the atlas, so the rectangles below are a contract with
// the widget kit and the screens. Everything outside them is left transparent. Three-piece bars
// (button faces, progress bar, field box) are drawn once at full width and cut: the edges as
// drawn, the middle as a single column repeated, so the widgets can stretch it to any width
// without seams. Button faces keep their details on the outer rows, so they survive being squeezed
// from 33 rows to the 25-32 the screens use.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "ArtKit.h"
#include "CrateMark.h"

namespace {

using namespace art;

struct Rect {
  int x, y, w, h;
};
struct ThreePiece {
  Rect left, middle, right;
};

// ---- The layout ---------------------------------------------------------------------------------

const Rect kArrowPointer{175, 135, 15, 22};
const Rect kHandPointer{158, 135, 17, 24};
const ThreePiece kFieldBox{{0, 275, 3, 24}, {3, 275, 3, 24}, {47, 275, 3, 24}};
const Rect kRadioOff{0, 131, 13, 14};
const Rect kRadioOn{0, 145, 13, 14};
const ThreePiece kButtonNormal{{0, 6, 4, 33}, {4, 6, 4, 33}, {136, 6, 4, 33}};
const ThreePiece kButtonHover{{102, 39, 4, 33}, {106, 39, 4, 33}, {132, 39, 4, 33}};
const ThreePiece kButtonDisabled{{34, 39, 4, 33}, {38, 39, 4, 33}, {64, 39, 4, 33}};
const ThreePiece kButtonPressed{{68, 39, 4, 33}, {72, 39, 4, 33}, {98, 39, 4, 33}};
const ThreePiece kBarFill{{50, 275, 3, 31}, {53, 275, 3, 31}, {59, 275, 3, 31}};
// The track's left edge sits right of its right edge in the atlas; each is drawn as what it is.
const ThreePiece kBarTrack{{72, 275, 3, 31}, {64, 275, 3, 31}, {69, 275, 3, 31}};
const Rect kInfoSymbol{320, 0, 64, 64};
const Rect kWarningSymbol{320, 69, 64, 64};
const Rect kErrorSymbol{384, 69, 64, 64};
const Rect kCloseCross{153, 39, 20, 20};
const Rect kCheckOff{0, 105, 13, 13};
const Rect kCheckOn{0, 118, 14, 13};
const Rect kTitleLogo{0, 455, 287, 35};
const Rect kInfoIcon{13, 138, 14, 14};
constexpr int kTypeIconCount = 10;
Rect typeIconRect(int index) {
  return {50 + 16 * (index % 2), 338 + 16 * (index / 2), 16, 16};
}

struct NamedRect {
  std::string name;
  Rect rect;
};

std::vector<NamedRect> layout() {
  std::vector<NamedRect> all = {{"arrow pointer", kArrowPointer}, {"hand pointer", kHandPointer}};
  auto three = [&all](const std::string& name, const ThreePiece& t) {
    all.push_back({name + " left", t.left});
    all.push_back({name + " middle", t.middle});
    all.push_back({name + " right", t.right});
  };
  three("field box", kFieldBox);
  all.push_back({"radio off", kRadioOff});
  all.push_back({"radio on", kRadioOn});
  three("button normal", kButtonNormal);
  three("button hover", kButtonHover);
  three("button disabled", kButtonDisabled);
  three("button pressed", kButtonPressed);
  three("bar fill", kBarFill);
  three("bar track", kBarTrack);
  all.push_back({"info symbol", kInfoSymbol});
  all.push_back({"warning symbol", kWarningSymbol});
  all.push_back({"error symbol", kErrorSymbol});
  all.push_back({"close cross", kCloseCross});
  all.push_back({"check box off", kCheckOff});
  all.push_back({"check box on", kCheckOn});
  all.push_back({"title logo", kTitleLogo});
  all.push_back({"info icon", kInfoIcon});
  for (int i = 0; i < kTypeIconCount; ++i) {
    all.push_back({"type icon " + std::to_string(i), typeIconRect(i)});
  }
  return all;
}

bool overlaps(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Several rectangles touch each other; a piece that bled into its neighbour would show up as a
// stray edge on some widget, so the layout itself is checked before anything is drawn.
void checkLayout(const std::vector<NamedRect>& all) {
  for (size_t i = 0; i < all.size(); ++i) {
    const Rect& r = all[i].rect;
    if (r.x < 0 || r.y < 0 || r.x + r.w > 512 || r.y + r.h > 512) {
      throw std::runtime_error(all[i].name + " lies outside the atlas");
    }
    for (size_t j = i + 1; j < all.size(); ++j) {
      if (overlaps(r, all[j].rect)) {
        throw std::runtime_error(all[i].name + " overlaps " + all[j].name);
      }
    }
  }
}

void keepOnly(Image& atlas, const std::vector<NamedRect>& all) {
  for (int y = 0; y < atlas.height(); ++y) {
    for (int x = 0; x < atlas.width(); ++x) {
      bool inside = false;
      for (const NamedRect& n : all) {
        const Rect& r = n.rect;
        inside = inside || (x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h);
      }
      if (!inside) atlas.set(x, y, {0, 0, 0, 0});
    }
  }
}

Region regionOf(Image& image, const Rect& r) {
  return Region(image, r.x, r.y, r.w, r.h);
}

// ---- Three-piece bars
// -----------------------------------------------------------------------------

// Cuts a bar drawn at full width into its pieces: edges as drawn, middle a repeated column.
void cutThreePiece(Image& atlas, const Image& drawing, const ThreePiece& t) {
  regionOf(atlas, t.left).copy(drawing, 0, 0, t.left.w, t.left.h, 0, 0);
  const int middleColumn = drawing.width() / 2;
  for (int col = 0; col < t.middle.w; ++col) {
    regionOf(atlas, t.middle).copy(drawing, middleColumn, 0, 1, t.middle.h, col, 0);
  }
  regionOf(atlas, t.right)
      .copy(drawing, drawing.width() - t.right.w, 0, t.right.w, t.right.h, 0, 0);
}

struct ButtonStyle {
  Color rim;
  Color topEdge;      // the row under the rim: a highlight, or a shadow when pressed
  Color top, bottom;  // the face's gradient
  Color bottomEdge;   // the row above the bottom rim
  Color leftEdge, rightEdge;
};

// The captions are drawn in the widget's foreground colour, black unless a screen changes it, so
// every face stays light enough for black text and dark enough that white text still reads.
const ButtonStyle kNormalStyle{grey(28),  grey(206), grey(172), grey(134),
                               grey(110), grey(188), grey(118)};
const ButtonStyle kHoverStyle{grey(28),  grey(230), grey(198), grey(158),
                              grey(128), grey(214), grey(140)};
const ButtonStyle kDisabledStyle{grey(52), grey(128), grey(118), grey(106),
                                 grey(98), grey(122), grey(100)};
const ButtonStyle kPressedStyle{grey(0),   grey(64), grey(90), grey(110),
                                grey(116), grey(80), grey(112)};

Image drawButton(const ButtonStyle& s) {
  Image face(16, 33);
  Region r(face, 0, 0, 16, 33);
  r.fill(shape::box(0, 0, 16, 33, 3), s.rim);
  r.fill(shape::box(1, 1, 15, 32, 2), [&s](Vec p) {
    Color c = mix(s.top, s.bottom, (p.y - 2) / 29);
    if (p.y < 2) c = s.topEdge;
    if (p.y > 31) c = s.bottomEdge;
    if (p.x < 2) c = mix(c, s.leftEdge, 0.5);
    if (p.x > 14) c = mix(c, s.rightEdge, 0.5);
    return c;
  });
  return face;
}

// The text field's own frame colours, so an unused field box would match the field.
Image drawFieldBox() {
  Image box(12, 24);
  Region r(box, 0, 0, 12, 24);
  r.fill(shape::box(0, 0, 12, 24), grey(64));
  r.fill(shape::box(1, 1, 11, 23), grey(21));
  r.fill(shape::box(2, 2, 10, 22), grey(60));
  return box;
}

Image drawTrack() {
  Image bar(12, 31);
  Region r(bar, 0, 0, 12, 31);
  r.fill(shape::box(0, 0, 12, 31, 2), grey(14));
  r.fill(shape::box(1, 1, 11, 30, 1.5), [](Vec p) {
    if (p.y < 2) return grey(24);
    if (p.y < 3) return grey(31);
    if (p.y > 29) return grey(58);
    return mix(grey(37), grey(46), (p.y - 3) / 26);
  });
  return bar;
}

// squareRightEnd: the fill's right edge meets the track when the bar is partly full, so its outer
// corners are squared off to join the track's rim without a notch.
Image drawFill(bool squareRightEnd) {
  Image bar(12, 31);
  Region r(bar, 0, 0, 12, 31);
  Shape outer = shape::box(0, 0, 12, 31, 2);
  if (squareRightEnd) outer = shape::unite(outer, shape::box(6, 0, 12, 31));
  r.fill(outer, rgb(12, 34, 78));
  r.fill(shape::box(1, 1, 11, 30, 1.5), [](Vec p) {
    if (p.y < 2) return rgb(156, 204, 255);
    if (p.y > 29) return rgb(92, 160, 238);
    if (p.y < 15) return mix(rgb(104, 170, 246), rgb(74, 144, 232), (p.y - 2) / 13);
    return mix(rgb(34, 98, 200), rgb(52, 124, 222), (p.y - 15) / 14);
  });
  return bar;
}

void drawBars(Image& atlas) {
  cutThreePiece(atlas, drawButton(kNormalStyle), kButtonNormal);
  cutThreePiece(atlas, drawButton(kHoverStyle), kButtonHover);
  cutThreePiece(atlas, drawButton(kDisabledStyle), kButtonDisabled);
  cutThreePiece(atlas, drawButton(kPressedStyle), kButtonPressed);
  cutThreePiece(atlas, drawFieldBox(), kFieldBox);
  cutThreePiece(atlas, drawTrack(), kBarTrack);
  const Image fill = drawFill(false);
  const Image fillEnd = drawFill(true);
  regionOf(atlas, kBarFill.left).copy(fill, 0, 0, 3, 31, 0, 0);
  for (int col = 0; col < 3; ++col)
    regionOf(atlas, kBarFill.middle).copy(fill, 6, 0, 1, 31, col, 0);
  regionOf(atlas, kBarFill.right).copy(fillEnd, 9, 0, 3, 31, 0, 0);
}

// ---- Check boxes, radio knobs, small symbols ---------------------------------------------------

Paint sunkenFace() {
  return [](Vec p) {
    if (p.y < 2) return grey(68);
    return mix(grey(94), grey(116), (p.y - 2) / 10);
  };
}

void drawCheckBox(Region r) {
  r.fill(shape::box(0, 0, 13, 13, 2), grey(18));
  r.fill(shape::box(1, 1, 12, 12, 1.2), sunkenFace());
}

void drawTick(Region r) {
  const std::vector<Vec> tick{{3.2, 6.4}, {5.6, 9.0}, {12.4, 1.8}};
  r.fill(shape::polyline(tick, 1.9), grey(18, 0.9));
  r.fill(shape::polyline(tick, 1.05), grey(255));
}

void drawRadio(Region r, bool on) {
  const Vec centre{6.5, 7.0};
  r.fill(shape::circle(centre, 6.5), grey(18));
  r.fill(shape::circle(centre, 5.5), sunkenFace());
  if (on) {
    r.fill(shape::circle(centre, 3.2), grey(30, 0.6));
    r.fill(shape::circle(centre, 2.5), grey(255));
  }
}

void drawInfoIcon(Region r) {
  const Vec centre{7, 7};
  r.fill(shape::circle(centre, 7), grey(26));
  r.fill(shape::circle(centre, 6), verticalGradient(1, grey(150), 13, grey(104)));
  r.fill(shape::box(6, 3, 8, 5, 0.3), grey(255));
  r.fill(shape::box(6, 6, 8, 11, 0.3), grey(255));
}

void drawCloseCross(Region r) {
  r.fill(shape::box(0, 0, 20, 20, 3), grey(22));
  r.fill(shape::box(1, 1, 19, 19, 2), [](Vec p) {
    if (p.y < 2) return grey(156);
    return mix(grey(124), grey(92), (p.y - 2) / 16);
  });
  const Shape cross =
      shape::unite(shape::segment({6, 6}, {14, 14}, 1.5), shape::segment({14, 6}, {6, 14}, 1.5));
  r.fill(shape::translate(cross, {0, 1}), grey(20, 0.55));
  r.fill(cross, grey(255));
}

// ---- 64 x 64 message symbols --------------------------------------------------------------------

void drawInfoSymbol(Region r) {
  const Vec centre{32, 32};
  r.fill(shape::circle({32, 33.5}, 30), grey(0, 0.35));
  r.fill(shape::circle(centre, 30), rgb(14, 48, 108));
  r.fill(shape::circle(centre, 28.6),
         verticalGradient(4, rgb(108, 176, 250), 60, rgb(26, 88, 194)));
  // A soft gloss over the upper half.
  r.fill(shape::intersect(shape::circle(centre, 27), shape::circle({32, 2}, 30)),
         verticalGradient(4, grey(255, 0.35), 32, grey(255, 0.04)));
  r.fill(shape::circle({32, 17.5}, 4.4), grey(255));
  r.fill(shape::box(27.6, 25, 36.4, 50, 1.6), grey(255));
}

// A triangle with rounded corners: an inset triangle grown by the rounding radius.
Shape roundedTriangle(Vec a, Vec b, Vec c, double radius) {
  const double la = length(b - c), lb = length(c - a), lc = length(a - b);
  const Vec incentre = (a * la + b * lb + c * lc) * (1.0 / (la + lb + lc));
  const double s = (la + lb + lc) / 2;
  const double area = std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2;
  const double inradius = area / s;
  const double k = (inradius - radius) / inradius;
  auto shrink = [&](Vec v) { return incentre + (v - incentre) * k; };
  return shape::grow(shape::polygon({shrink(a), shrink(b), shrink(c)}), radius);
}

void drawTriangleSymbol(Region r, Color rim, Color top, Color bottom, Color mark) {
  const Vec apex{32, 0.5}, right{63.5, 60}, left{0.5, 60};
  r.fill(shape::translate(roundedTriangle(apex, right, left, 5), {0, 1.5}), grey(0, 0.35));
  r.fill(roundedTriangle(apex, right, left, 5), rim);
  r.fill(shape::grow(roundedTriangle(apex, right, left, 5), -1.6),
         verticalGradient(6, top, 59, bottom));
  const Shape stem =
      shape::grow(shape::polygon({{28.4, 21}, {35.6, 21}, {33.7, 41.5}, {30.3, 41.5}}), 1.0);
  r.fill(stem, mark);
  r.fill(shape::circle({32, 49.5}, 3.8), mark);
}

// ---- Pointers and file-type icons (pixel art: crisp at their real size) ------------------------

const std::map<char, Color>& palette() {
  static const std::map<char, Color> colours = {
      {'k', grey(24)},           {'W', grey(250)},          {'w', rgb(206, 208, 216)},
      {'g', rgb(140, 144, 156)}, {'Y', rgb(252, 216, 112)}, {'y', rgb(234, 182, 64)},
      {'o', rgb(182, 128, 36)},  {'b', rgb(46, 106, 206)},  {'S', rgb(150, 200, 250)},
      {'G', rgb(98, 186, 74)},   {'h', rgb(46, 124, 48)},   {'r', rgb(216, 62, 50)},
      {'R', rgb(150, 38, 30)},   {'n', rgb(150, 98, 52)},   {'s', rgb(242, 196, 152)},
      {'d', rgb(40, 62, 120)},   {'m', rgb(196, 198, 206)}, {'c', rgb(206, 110, 62)},
      {'C', rgb(152, 72, 38)},   {'u', rgb(255, 222, 60)},  {'e', rgb(238, 222, 184)},
      {'q', rgb(236, 156, 108)}, {'z', grey(0, 0.3)},
  };
  return colours;
}

void drawPixelArt(Region r, const std::vector<std::string>& rows) {
  for (const std::string& row : rows) {
    if (static_cast<int>(row.size()) != r.width()) {
      throw std::runtime_error("pixel art row \"" + row + "\" does not fit its piece");
    }
  }
  if (static_cast<int>(rows.size()) != r.height()) {
    throw std::runtime_error("pixel art has the wrong number of rows");
  }
  r.pixels(0, 0, rows, palette());
}

// Draws the pixel art with a soft shadow one pixel down and right.
void drawWithShadow(Region r, const std::vector<std::string>& rows) {
  std::vector<std::string> shadow(rows.size(), std::string(r.width(), '.'));
  for (size_t y = 0; y + 1 < rows.size(); ++y) {
    for (size_t x = 0; x + 1 < rows[y].size(); ++x) {
      if (rows[y][x] != '.') shadow[y + 1][x + 1] = 'z';
    }
  }
  drawPixelArt(r, shadow);
  drawPixelArt(r, rows);
}

// clang-format off
const std::vector<std::string> kArrowArt = {
    "k..............",
    "kk.............",
    "kWk............",
    "kWWk...........",
    "kWWWk..........",
    "kWWWWk.........",
    "kWWWWWk........",
    "kWWWWWWk.......",
    "kWWWWWWWk......",
    "kWWWWWWWWk.....",
    "kWWWWWWWWWk....",
    "kWWWWWWWWWWk...",
    "kWWWWWWkkkkk...",
    "kWWWkWWk.......",
    "kWWk.kWWk......",
    "kWk..kWWk......",
    "kk....kWWk.....",
    "k.....kWWk.....",
    ".......kWWk....",
    ".......kWWk....",
    "........kk.....",
    "...............",
};

const std::vector<std::string> kHandArt = {
    ".....kk..........",
    "....kWWk.........",
    "....kWWk.........",
    "....kWWk.........",
    "....kWWk.........",
    "....kWWkkk.......",
    "....kWWkWWkkk....",
    "....kWWkWWkWWkk..",
    ".kk.kWWkWWkWWkWWk",
    "kWWkkWWWWWWWWkWWk",
    "kWWWkWWWWWWWWWWWk",
    ".kWWkWWWWWWWWWWWk",
    "..kWWWWWWWWWWWWWk",
    "..kWWWWWWWWWWWWWk",
    "...kWWWWWWWWWWWk.",
    "...kWWWWWWWWWWWk.",
    "....kWWWWWWWWWk..",
    "....kWWWWWWWWWk..",
    ".....kWWWWWWWk...",
    ".....kWWWWWWWk...",
    ".....kkkkkkkkk...",
    ".................",
    ".................",
    ".................",
};

// Index order: closed folder, open folder, unknown page, figure, brushes in a cup, picture,
// plant, text page, sound page, house.
const std::vector<std::vector<std::string>> kTypeIconArt = {
    {
        "................",
        "................",
        ".kkkkk..........",
        "kooooook........",
        "koooooookkkkkkk.",
        "kooooooooooooook",
        "kkkkkkkkkkkkkkkk",
        "kYYYYYYYYYYYYYYk",
        "kyyyyyyyyyyyyyyk",
        "kyyyyyyyyyyyyyyk",
        "kyyyyyyyyyyyyyyk",
        "kyyyyyyyyyyyyyyk",
        "kyyyyyyyyyyyyyyk",
        "kooooooooooooook",
        ".kkkkkkkkkkkkkk.",
        "................",
    },
    {
        "................",
        "................",
        ".kkkkk..........",
        "kooooook........",
        "koooooookkkkkk..",
        "kooooooooooook..",
        "kooooooooooook..",
        "kookkkkkkkkkkkkk",
        "kookYYYYYYYYYYYk",
        "kokyyyyyyyyyyyk.",
        "kokyyyyyyyyyyyk.",
        "kkyyyyyyyyyyyk..",
        "kkyyyyyyyyyyyk..",
        "kkkkkkkkkkkkkk..",
        "................",
        "................",
    },
    {
        "..kkkkkkkkk.....",
        "..kWWWWWWWkwk...",
        "..kWWWWWWWkwwk..",
        "..kWWWWWWWkkkk..",
        "..kWWWbbbbWWWk..",
        "..kWWbbWWbbWWk..",
        "..kWWWWWWbbWWk..",
        "..kWWWWWbbWWWk..",
        "..kWWWWbbWWWWk..",
        "..kWWWWbbWWWWk..",
        "..kWWWWWWWWWWk..",
        "..kWWWWbbWWWWk..",
        "..kWWWWbbWWWWk..",
        "..kWWWWWWWWWWk..",
        "..kkkkkkkkkkkk..",
        "................",
    },
    {
        "......kkkk......",
        ".....knnnnk.....",
        ".....kssssk.....",
        ".....kssssk.....",
        "......kssk......",
        "....kkbbbbkk....",
        "...kbbbbbbbbk...",
        "..kbbkbbbbkbbk..",
        "..kbbkbbbbkbbk..",
        "..kbbkbbbbkbbk..",
        "..ksskddddkssk..",
        "...kkkddddkkk...",
        ".....kddddk.....",
        ".....kdkkdk.....",
        ".....kdkkdk.....",
        "....kkk..kkk....",
    },
    {
        ".kk....kk....kk.",
        "krrk..kGGk..kbbk",
        "krrk..kGGk..kbbk",
        ".kmk..kmmk..kmk.",
        "..knk.knnk.knk..",
        "...knkknnkknk...",
        "..kkkkkkkkkkkk..",
        "..kcccccccccck..",
        "..kcqccccccCck..",
        "..kcqccccccCck..",
        "..kcqccccccCck..",
        "..kcqccccccCck..",
        "..kcqccccccCck..",
        "..kccccccccCck..",
        "..kCCCCCCCCCCk..",
        "...kkkkkkkkkk...",
    },
    {
        "................",
        "kkkkkkkkkkkkkkkk",
        "knnnnnnnnnnnnnnk",
        "knSSSSSSSSSuuSnk",
        "knSSSSSSSSuuuunk",
        "knSSSSSSSSSuuSnk",
        "knSSSSGSSSSSSSnk",
        "knSSSGGGSSSSSSnk",
        "knSSGGGGGSSSGSnk",
        "knSGGGGGGGSGGGnk",
        "knGGGGGGGGGGGGnk",
        "knhGGGGhGGGGGhnk",
        "knhhhGhhhhhGhhnk",
        "knnnnnnnnnnnnnnk",
        "kkkkkkkkkkkkkkkk",
        "................",
    },
    {
        "......kkk.......",
        ".....kGGGk......",
        ".....kGGGk......",
        ".kkk.kGhGk.kkk..",
        "kGGGkkGhGkkGGGk.",
        "kGGGGkGhGkGGGGk.",
        ".kGGhhkhkhhGGk..",
        "..kkGGhhhGGkk...",
        "....kkkhkkk.....",
        "......khk.......",
        "..kkkkkkkkkkkk..",
        "..kcccccccccck..",
        "...kcccccccck...",
        "...kcccccccCk...",
        "....kCCCCCCk....",
        ".....kkkkkk.....",
    },
    {
        "..kkkkkkkkk.....",
        "..kWWWWWWWkwk...",
        "..kWggggggkwwk..",
        "..kWWWWWWWkkkk..",
        "..kWWWWWWWWWWk..",
        "..kWggggggggWk..",
        "..kWWWWWWWWWWk..",
        "..kWggggggWWWk..",
        "..kWWWWWWWWWWk..",
        "..kWggggggggWk..",
        "..kWWWWWWWWWWk..",
        "..kWgggggWWWWk..",
        "..kWWWWWWWWWWk..",
        "..kWWWWWWWWWWk..",
        "..kkkkkkkkkkkk..",
        "................",
    },
    {
        "..kkkkkkkkk.....",
        "..kWWWWWWWkwk...",
        "..kWWWWWWWkwwk..",
        "..kWWWWWWWkkkk..",
        "..kWWWWWWbbWWk..",
        "..kWWWWWWbbbWk..",
        "..kWWWWWWbWbbk..",
        "..kWWWWWWbWWbk..",
        "..kWWWWWWbWbWk..",
        "..kWWWWWWbWWWk..",
        "..kWWWbbbbWWWk..",
        "..kWWbbbbbWWWk..",
        "..kWWbbbbWWWWk..",
        "..kWWWWWWWWWWk..",
        "..kkkkkkkkkkkk..",
        "................",
    },
    {
        ".......kk.......",
        "......krrk......",
        ".....krrrrk.....",
        "....krrrrrrk....",
        "...krrrrrrrrk...",
        "..krrrrrrrrrrk..",
        ".krrrrrrrrrrrrk.",
        "kRRRRRRRRRRRRRRk",
        "..keeeeeeeeeek..",
        "..keeeeeeeeeek..",
        "..kekkkkekkkkk..",
        "..kekSSkeknnkk..",
        "..kekSSkeknnkk..",
        "..kekkkkeknnkk..",
        "..keeeeeeknnkk..",
        "..kkkkkkkkkkkk..",
    },
};
// clang-format on

// ---- Title logo ---------------------------------------------------------------------------------

// The product name in dark grey, cut into the screen's grey like an engraving (a light line under
// each stroke), with the crate mark in the same greys before it.
void drawTitleLogo(Region r) {
  const CrateColors greys{grey(28), grey(72), grey(56),  grey(48), grey(38),
                          grey(22), grey(64), grey(118), grey(64)};
  drawCrate(r, 0.53, {1, 0.5}, greys, 1.4);
  const Font font(kFontBold, 33);
  const Mask name = font.render("Tarnwick");
  const int x = 40, baseline = 30;
  r.text(name, x, baseline + 1, solid(grey(108, 0.7)));
  r.text(name, x, baseline, solid(grey(42)));
}

// ---- The atlas ----------------------------------------------------------------------------------

Image drawAtlas() {
  const std::vector<NamedRect> all = layout();
  checkLayout(all);
  Image atlas(512, 512);
  drawBars(atlas);
  drawCheckBox(regionOf(atlas, kCheckOff));
  drawCheckBox(regionOf(atlas, kCheckOn));
  drawTick(regionOf(atlas, kCheckOn));
  drawRadio(regionOf(atlas, kRadioOff), false);
  drawRadio(regionOf(atlas, kRadioOn), true);
  drawInfoIcon(regionOf(atlas, kInfoIcon));
  drawCloseCross(regionOf(atlas, kCloseCross));
  drawInfoSymbol(regionOf(atlas, kInfoSymbol));
  drawTriangleSymbol(regionOf(atlas, kWarningSymbol), rgb(92, 66, 0), rgb(255, 226, 96),
                     rgb(238, 176, 24), grey(28));
  drawTriangleSymbol(regionOf(atlas, kErrorSymbol), rgb(92, 14, 10), rgb(244, 98, 84),
                     rgb(184, 32, 26), grey(255));
  drawWithShadow(regionOf(atlas, kArrowPointer), kArrowArt);
  drawWithShadow(regionOf(atlas, kHandPointer), kHandArt);
  for (int i = 0; i < kTypeIconCount; ++i)
    drawPixelArt(regionOf(atlas, typeIconRect(i)), kTypeIconArt[i]);
  drawTitleLogo(regionOf(atlas, kTitleLogo));
  keepOnly(atlas, all);
  return atlas;
}

// ---- Preview sheet ------------------------------------------------------------------------------

const Color kScreenGrey = grey(77);

// Copies a rectangle of the atlas, scaled by a whole factor, over what is there.
void blit(Image& to, int dx, int dy, const Image& atlas, const Rect& from, int scale) {
  for (int y = 0; y < from.h * scale; ++y) {
    for (int x = 0; x < from.w * scale; ++x) {
      to.blend(dx + x, dy + y, atlas.get(from.x + x / scale, from.y + y / scale), 1.0);
    }
  }
}

// Stretches a rectangle of the atlas over a box with nearest-pixel sampling, like the engine.
void stretch(Image& to, int dx, int dy, int dw, int dh, const Image& atlas, const Rect& from) {
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) {
      const int sx = from.x + static_cast<int>((x + 0.5) * from.w / dw);
      const int sy = from.y + static_cast<int>((y + 0.5) * from.h / dh);
      to.blend(dx + x, dy + y, atlas.get(sx, sy), 1.0);
    }
  }
}

void fillRect(Image& to, int x, int y, int w, int h, const Color& c) {
  for (int yy = y; yy < y + h; ++yy) {
    for (int xx = x; xx < x + w; ++xx) to.blend(xx, yy, c, 1.0);
  }
}

void checkerboard(Image& to, int x, int y, int w, int h) {
  for (int yy = 0; yy < h; ++yy) {
    for (int xx = 0; xx < w; ++xx) {
      to.set(x + xx, y + yy, ((xx / 8 + yy / 8) % 2) ? grey(150) : grey(118));
    }
  }
}

class Writer {
 public:
  Writer() : label_(kFontRegular, 12), caption_(kFontRegular, 14), heading_(kFontBold, 16) {}
  void label(Image& to, int x, int top, const std::string& text, Color c = grey(235)) const {
    draw(to, label_, x, top + 11, text, c, false);
  }
  void caption(Image& to, int x, int top, const std::string& text, Color c, bool centred) const {
    draw(to, caption_, x, top + 16, text, c, centred);
  }
  int labelWidth(const std::string& text) const { return label_.render(text).width; }
  void heading(Image& to, int x, int top, const std::string& text) const {
    draw(to, heading_, x, top + 15, text, grey(255), false);
  }

 private:
  static void draw(Image& to, const Font& font, int x, int baseline, const std::string& text,
                   Color c, bool centred) {
    const Mask m = font.render(text);
    Region(to, 0, 0, to.width(), to.height())
        .text(m, centred ? x - m.width / 2 : x, baseline, solid(c));
  }
  Font label_, caption_, heading_;
};

struct ButtonFace {
  const ThreePiece* pieces;
  const char* name;
};

void drawButtonAt(Image& to, const Image& atlas, const ThreePiece& t, int x, int y, int w, int h,
                  const Writer& writer, const std::string& caption, bool pressed) {
  stretch(to, x, y, 4, h, atlas, t.left);
  stretch(to, x + 4, y, w - 8, h, atlas, t.middle);
  stretch(to, x + w - 4, y, 4, h, atlas, t.right);
  const int shift = pressed ? 1 : 0;
  writer.caption(to, x + w / 2 + shift, y + h / 2 - 10 + shift, caption, grey(0), true);
}

void drawBarAt(Image& to, const Image& atlas, int x, int y, int w, int h, double percent) {
  if (percent <= 0) {
    stretch(to, x, y, 3, 31, atlas, kBarTrack.left);
    stretch(to, x + 3, y, w - 6, h, atlas, kBarTrack.middle);
    stretch(to, x + w - 3, y, 3, 31, atlas, kBarTrack.right);
  } else if (percent >= 100) {
    stretch(to, x, y, 3, 31, atlas, kBarFill.left);
    stretch(to, x + 3, y, w - 6, h, atlas, kBarFill.middle);
    stretch(to, x + w - 3, y, 3, 31, atlas, kBarFill.right);
  } else {
    const int f = static_cast<int>(w * percent / 100);
    stretch(to, x, y, 3, 31, atlas, kBarFill.left);
    stretch(to, x + 3, y, f - 3, h, atlas, kBarFill.middle);
    stretch(to, x + f - 3, y, 3, 31, atlas, kBarFill.right);
    stretch(to, x + f, y, w - 3 - f, h, atlas, kBarTrack.middle);
    stretch(to, x + w - 3, y, 3, 31, atlas, kBarTrack.right);
  }
}

// A 600 x 300 screen put together from the pieces the way the wizard places them.
void drawMockScreen(Image& to, int ox, int oy, const Image& atlas, const Writer& writer) {
  fillRect(to, ox, oy, 600, 300, kScreenGrey);
  fillRect(to, ox, oy + 28, 600, 1, grey(0x1F));
  fillRect(to, ox, oy + 29, 600, 1, grey(0x5C));
  writer.caption(to, ox + 3, oy + 5, "Step 2/4: details and options", grey(255), false);
  blit(to, ox + 581, oy + 7, atlas, kInfoIcon, 1);
  blit(to, ox + 2, oy + 263, atlas, kTitleLogo, 1);

  const char* types[] = {"WAV", "TXT", "PAL", "PID", "WWD", "ANI", "XYZ"};
  const int icons[] = {8, 7, 4, 5, 6, 3, 2};
  for (int i = 0; i < 7; ++i) {
    const int y = oy + 47 + 22 * i;
    blit(to, ox + 3, y + 6, atlas, (i % 3 == 0) ? kCheckOff : kCheckOn, 1);
    blit(to, ox + 22, y + 4, atlas, typeIconRect(icons[i]), 1);
    writer.caption(to, ox + 40, y + 2, std::string(types[i]) + "s (12)", grey(255), false);
  }
  for (int i = 0; i < 3; ++i) {
    const int y = oy + 47 + 22 * i;
    blit(to, ox + 190, y + 6, atlas, i == 1 ? kCheckOn : kCheckOff, 1);
    const char* options[] = {"Convert PID to PNG", "Rect conversion", "Extract empty folders"};
    writer.caption(to, ox + 205, y + 2, options[i], grey(255), false);
  }
  drawBarAt(to, atlas, ox + 190, oy + 125, 400, 31, 0);
  drawBarAt(to, atlas, ox + 190, oy + 160, 400, 31, 37.5);
  writer.caption(to, ox + 390, oy + 166, "37.5%", grey(255), true);
  drawBarAt(to, atlas, ox + 190, oy + 195, 400, 31, 100);
  writer.caption(to, ox + 390, oy + 201, "100.0%", grey(255), true);

  drawButtonAt(to, atlas, kButtonDisabled, ox + 295, oy + 262, 90, 33, writer, "Back", false);
  drawButtonAt(to, atlas, kButtonPressed, ox + 400, oy + 262, 90, 33, writer, "Pause", true);
  drawButtonAt(to, atlas, kButtonNormal, ox + 505, oy + 262, 90, 33, writer, "Next", false);
  drawButtonAt(to, atlas, kButtonHover, ox + 510, oy + 234, 75, 25, writer, "Browse", false);
}

// One labelled entry of the sheet: a piece, or the three pieces of a bar side by side.
struct Tile {
  std::string name;
  std::vector<Rect> parts;
  int scale;
  static constexpr int kGap = 6;
  int width() const {
    int w = 0;
    for (const Rect& r : parts) w += r.w * scale + kGap;
    return w - kGap;
  }
  int height() const {
    int h = 0;
    for (const Rect& r : parts) h = std::max(h, r.h * scale);
    return h;
  }
};

Image drawPreview(const Image& atlas) {
  const Writer writer;
  const int width = 1240, margin = 16;

  std::vector<Tile> tiles;
  auto add = [&tiles](const std::string& name, const Rect& r, int scale) {
    tiles.push_back({name, {r}, scale});
  };
  const std::pair<const char*, const ThreePiece*> threes[] = {{"button normal", &kButtonNormal},
                                                              {"button hover", &kButtonHover},
                                                              {"button disabled", &kButtonDisabled},
                                                              {"button pressed", &kButtonPressed},
                                                              {"bar fill", &kBarFill},
                                                              {"bar track", &kBarTrack},
                                                              {"field box", &kFieldBox}};
  for (const auto& [name, t] : threes) {
    tiles.push_back(
        {std::string(name) + ": left, middle, right", {t->left, t->middle, t->right}, 4});
  }
  add("check box off", kCheckOff, 4);
  add("check box on", kCheckOn, 4);
  add("radio off", kRadioOff, 4);
  add("radio on", kRadioOn, 4);
  add("info icon", kInfoIcon, 4);
  add("close cross", kCloseCross, 4);
  add("arrow pointer", kArrowPointer, 4);
  add("hand pointer", kHandPointer, 4);
  for (int i = 0; i < kTypeIconCount; ++i) add("type " + std::to_string(i), typeIconRect(i), 4);
  add("info symbol", kInfoSymbol, 2);
  add("warning symbol", kWarningSymbol, 2);
  add("error symbol", kErrorSymbol, 2);
  add("title logo", kTitleLogo, 2);

  // Flow the tiles into rows (first pass only measures).
  struct Placed {
    int x, y;
  };
  std::vector<Placed> placed;
  const int tilesTop = margin + 24 + 512 + 36;
  int x = margin, y = tilesTop, rowHeight = 0;
  for (const Tile& t : tiles) {
    const int w = std::max(t.width(), writer.labelWidth(t.name)), h = t.height() + 18;
    if (x + w > width - margin) {
      x = margin;
      y += rowHeight + 12;
      rowHeight = 0;
    }
    placed.push_back({x, y});
    x += w + 14;
    rowHeight = std::max(rowHeight, h);
  }
  const int height = y + rowHeight + margin;

  Image sheet(width, height);
  fillRect(sheet, 0, 0, width, height, grey(40));
  writer.heading(sheet, margin, margin, "Skin atlas, 512 x 512 (transparent parts chequered)");
  checkerboard(sheet, margin, margin + 24, 512, 512);
  blit(sheet, margin, margin + 24, atlas, {0, 0, 512, 512}, 1);

  const int right = margin + 512 + 40;
  writer.heading(sheet, right, margin, "The pieces in place on a 600 x 300 screen");
  drawMockScreen(sheet, right, margin + 24, atlas, writer);
  writer.label(sheet, right, margin + 24 + 304,
               "Captions use a stand-in font here; the program draws them with its own bitmap "
               "font.");

  const int widgetsTop = margin + 24 + 340;
  writer.heading(sheet, right, widgetsTop, "Button faces stretched to 120 x 30, and to 100 x 33");
  const ButtonFace faces[] = {{&kButtonNormal, "normal"},
                              {&kButtonHover, "hover"},
                              {&kButtonDisabled, "disabled"},
                              {&kButtonPressed, "pressed"}};
  for (int i = 0; i < 4; ++i) {
    const int bx = right + 150 * i, by = widgetsTop + 28;
    fillRect(sheet, bx - 6, by - 6, 144, 110, kScreenGrey);
    drawButtonAt(sheet, atlas, *faces[i].pieces, bx, by, 120, 30, writer, "Next", i == 3);
    drawButtonAt(sheet, atlas, *faces[i].pieces, bx, by + 38, 100, 33, writer, "Back", i == 3);
    writer.label(sheet, bx, by + 78, faces[i].name);
  }

  writer.heading(sheet, margin, tilesTop - 28, "Every piece, enlarged (name, then 4x or 2x)");
  for (size_t i = 0; i < tiles.size(); ++i) {
    const Tile& t = tiles[i];
    int tx = placed[i].x;
    const int ty = placed[i].y;
    writer.label(sheet, tx, ty, t.name);
    for (const Rect& r : t.parts) {
      checkerboard(sheet, tx, ty + 16, r.w * t.scale, r.h * t.scale);
      fillRect(sheet, tx, ty + 16, r.w * t.scale, r.h * t.scale, grey(77, 0.85));
      blit(sheet, tx, ty + 16, atlas, r, t.scale);
      tx += r.w * t.scale + Tile::kGap;
    }
  }
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ATLAS.png PREVIEW.png\n", argv[0]);
    return 2;
  }
  try {
    const Image atlas = drawAtlas();
    atlas.writePng(argv[1]);
    drawPreview(atlas).writePng(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_skin: %s\n", e.what());
    return 1;
  }
  return 0;
}
