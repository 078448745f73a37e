// The pointers and the file-type icons: pixel art, crisp at their real size.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "SkinArt.h"

namespace skin {

namespace {

using namespace art;
using namespace SHR::layout;

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

}  // namespace

void DrawPointerArt(Image& atlas) {
  drawWithShadow(regionOf(atlas, kArrowPointer), kArrowArt);
  drawWithShadow(regionOf(atlas, kHandPointer), kHandArt);
}

void DrawTypeIcons(Image& atlas) {
  for (int i = 0; i < kTypeIconCount; ++i)
    drawPixelArt(regionOf(atlas, TypeIcon(i)), kTypeIconArt[i]);
}

}  // namespace skin
