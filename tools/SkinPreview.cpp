// The preview sheet of the skin: every piece labelled, enlarged where small,
// and a mock wizard screen put together from the pieces.
#include <string>
#include <vector>

#include "SkinArt.h"

namespace skin {

namespace {

using namespace art;
using namespace SHR::layout;

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
  const ThreeRects* pieces;
  const char* name;
};

void drawButtonAt(Image& to, const Image& atlas, const ThreeRects& t, int x, int y, int w, int h,
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
    blit(to, ox + 22, y + 4, atlas, TypeIcon(icons[i]), 1);
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

}  // namespace

Image DrawPreview(const Image& atlas) {
  const Writer writer;
  const int width = 1240, margin = 16;

  std::vector<Tile> tiles;
  auto add = [&tiles](const std::string& name, const Rect& r, int scale) {
    tiles.push_back({name, {r}, scale});
  };
  const std::pair<const char*, const ThreeRects*> threes[] = {{"button normal", &kButtonNormal},
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
  for (int i = 0; i < kTypeIconCount; ++i) add("type " + std::to_string(i), TypeIcon(i), 4);
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

}  // namespace skin
