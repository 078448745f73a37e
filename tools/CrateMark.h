// The product's mark, an open crate with a page rising out of it (what the program does: unpack
// files from an archive). Drawn in colour as the window icon and in dark greys on the title logo,
// so both come from this one outline.
#pragma once

#include "ArtKit.h"

namespace art {

struct CrateColors {
  Color outline;
  Color front, frontShade;  // front boards, top to bottom
  Color side;
  Color groove;  // gaps between the boards
  Color inside;  // the dark opening
  Color lidInner;
  Color page, pageLine;
};

// Draws the crate designed on a 64 x 64 grid, scaled by scale and moved by offset.
inline void drawCrate(Region& r, double scale, Vec offset, const CrateColors& c,
                      double outlineWidth) {
  auto place = [&](std::vector<Vec> points) {
    for (Vec& p : points) p = p * scale + offset;
    return points;
  };
  auto face = [&](std::vector<Vec> points, const Paint& paint) {
    const Shape s = shape::polygon(place(std::move(points)));
    r.fill(shape::grow(s, outlineWidth / 2), c.outline);
    r.fill(shape::grow(s, -outlineWidth / 2), paint);
  };
  auto line = [&](Vec a, Vec b, double width, const Color& colour) {
    r.fill(shape::segment(a * scale + offset, b * scale + offset, width * scale / 2), colour);
  };

  // The lid stands open behind the box, showing its inner side.
  face({{16, 21}, {58, 21}, {62, 5}, {20, 5}}, solid(c.lidInner));
  line({18.5, 13}, {59.5, 13}, 1.6, c.groove);
  // The opening.
  face({{5, 29}, {16, 21}, {58, 21}, {47, 29}}, solid(c.inside));
  // A page half out of the box.
  face({{20, 33}, {23, 9}, {41, 11}, {38, 35}}, solid(c.page));
  for (int i = 0; i < 3; ++i) {
    const double y = 15.5 + 5.5 * i;
    line({25.2, y}, {36.5, y + 1.2}, 1.8, c.pageLine);
  }
  // The right side in shadow, then the front boards.
  face({{47, 29}, {58, 21}, {58, 50}, {47, 59}}, solid(c.side));
  const Paint frontPaint =
      verticalGradient((29 * scale) + offset.y, c.front, (59 * scale) + offset.y, c.frontShade);
  face({{5, 29}, {47, 29}, {47, 59}, {5, 59}}, frontPaint);
  line({6, 39}, {46, 39}, 1.6, c.groove);
  line({6, 49}, {46, 49}, 1.6, c.groove);
  line({48, 38}, {57, 30}, 1.6, c.groove);
  line({48, 48}, {57, 40}, 1.6, c.groove);
}

}  // namespace art
