// The skin's drawn pieces: button faces, bars, check boxes, radio knobs, small
// symbols, message symbols and the title logo, and the atlas made of them.
#include <stdexcept>
#include <string>
#include <vector>

#include "CrateMark.h"
#include "SkinArt.h"

namespace skin {

namespace {

using namespace art;
using namespace SHR::layout;

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

// ---- Three-piece bars
// -----------------------------------------------------------------------------

// Cuts a bar drawn at full width into its pieces: edges as drawn, middle a repeated column.
void cutThreeRects(Image& atlas, const Image& drawing, const ThreeRects& t) {
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
  cutThreeRects(atlas, drawButton(kNormalStyle), kButtonNormal);
  cutThreeRects(atlas, drawButton(kHoverStyle), kButtonHover);
  cutThreeRects(atlas, drawButton(kDisabledStyle), kButtonDisabled);
  cutThreeRects(atlas, drawButton(kPressedStyle), kButtonPressed);
  cutThreeRects(atlas, drawFieldBox(), kFieldBox);
  cutThreeRects(atlas, drawTrack(), kBarTrack);
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

}  // namespace

// ---- The atlas ----------------------------------------------------------------------------------

Image DrawAtlas() {
  const std::string problem = LayoutProblem();
  if (!problem.empty()) throw std::runtime_error(problem);
  Image atlas(kAtlasSize, kAtlasSize);
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
  DrawPointerArt(atlas);
  DrawTypeIcons(atlas);
  drawTitleLogo(regionOf(atlas, kTitleLogo));
  keepOnly(atlas, AllPieces());
  return atlas;
}

}  // namespace skin
