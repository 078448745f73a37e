// The skin: every piece of the "Main" atlas that the widget kit and the
// screens draw, cut once at start-up and kept for the whole run.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/hge.h"
#include "text/Sprite.h"

class BitmapFont;
namespace gcn {
class Font;
}

namespace SHR {

// The three pieces of a bar that is stretched sideways: left edge, middle
// slice (stretched) and right edge.
struct cThreePiece {
  std::unique_ptr<Sprite> left, middle, right;
};

// The record every kit widget points to. Widgets never own it; it owns its
// sprites and the toolkit fonts. Pieces that no widget of the program draws
// belong to kit widgets the program does not create; they are cut all the same
// so that the atlas layout stays complete.
struct cSkin {
  std::unique_ptr<Sprite> arrowPointer;
  std::unique_ptr<Sprite> handPointer;
  cThreePiece fieldBox;
  std::array<std::unique_ptr<Sprite>, 3> unusedSlots;  // kept empty
  std::unique_ptr<Sprite> radioOff;
  std::unique_ptr<Sprite> radioOn;
  cThreePiece buttonNormal;
  cThreePiece buttonHover;
  cThreePiece buttonDisabled;
  cThreePiece buttonPressed;
  cThreePiece barFill;
  cThreePiece barTrack;
  std::unique_ptr<Sprite> infoSymbol;
  std::unique_ptr<Sprite> warningSymbol;
  std::unique_ptr<Sprite> errorSymbol;
  std::unique_ptr<Sprite> closeCross;
  std::unique_ptr<Sprite> checkBoxOff;
  std::unique_ptr<Sprite> checkBoxOn;
  // Toolkit font adapters over the one program font; the first is the
  // toolkit's global font. None of them owns the font.
  std::array<std::unique_ptr<gcn::Font>, 3> guiFonts;
  // The same font drawing text as it stands (no colour codes): for typed
  // paths and names from the archive or the file system.
  std::unique_ptr<gcn::Font> nameFont;
};

// Pieces beside the record, drawn by the screens themselves.
struct cScreenArt {
  static constexpr int kTypeIconCount = 10;
  std::unique_ptr<Sprite> titleLogo;  // drawn at (2, window height - 37)
  std::unique_ptr<Sprite> infoIcon;   // drawn at (581, 7)
  std::array<std::unique_ptr<Sprite>, kTypeIconCount> typeIcons;
};

// File-type icon indexes.
enum TypeIcon : int {
  kIconFolderClosed = 0,
  kIconFolderOpen = 1,
  kIconUnknown = 2,
  kIconFigure = 3,
  kIconBrushes = 4,
  kIconPicture = 5,
  kIconPlant = 6,
  kIconText = 7,
  kIconSound = 8,
  kIconHouse = 9,
};

// Cuts every record piece from the atlas texture (512x512).
std::unique_ptr<cSkin> CutSkin(HTEXTURE atlas);
// Makes the three toolkit fonts over the program font, which must outlive the skin.
void AttachFonts(cSkin& skin, BitmapFont* font);
// Cuts the title logo, the info icon and the ten type icons.
std::unique_ptr<cScreenArt> CutScreenArt(HTEXTURE atlas);

// The icon index the step 2 screen shows for a resource type name; names are
// compared exactly, case included.
int TypeIconFor(const std::string& typeName);

}  // namespace SHR
