#include "gcnWidgets/wSkin.h"

#include "text/HGEImageFont.h"

namespace SHR {

namespace {

struct Rect {
  float x, y, w, h;
};

std::unique_ptr<Sprite> Cut(HTEXTURE atlas, Rect r) {
  return std::make_unique<Sprite>(atlas, r.x, r.y, r.w, r.h);
}

cThreePiece CutThree(HTEXTURE atlas, Rect left, Rect middle, Rect right) {
  return {Cut(atlas, left), Cut(atlas, middle), Cut(atlas, right)};
}

// Button faces are 4x33 pieces; only their left offsets differ.
cThreePiece CutButtonFace(HTEXTURE atlas, float left, float middle, float right, float y) {
  return CutThree(atlas, {left, y, 4, 33}, {middle, y, 4, 33}, {right, y, 4, 33});
}

}  // namespace

std::unique_ptr<cSkin> CutSkin(HTEXTURE atlas) {
  auto skin = std::make_unique<cSkin>();
  skin->arrowPointer = Cut(atlas, {175, 135, 15, 22});
  skin->handPointer = Cut(atlas, {158, 135, 17, 24});
  skin->fieldBox = CutThree(atlas, {0, 275, 3, 24}, {3, 275, 3, 24}, {47, 275, 3, 24});
  skin->radioOff = Cut(atlas, {0, 131, 13, 14});
  skin->radioOn = Cut(atlas, {0, 145, 13, 14});
  skin->buttonNormal = CutButtonFace(atlas, 0, 4, 136, 6);
  skin->buttonHover = CutButtonFace(atlas, 102, 106, 132, 39);
  skin->buttonDisabled = CutButtonFace(atlas, 34, 38, 64, 39);
  skin->buttonPressed = CutButtonFace(atlas, 68, 72, 98, 39);
  skin->barFill = CutThree(atlas, {50, 275, 3, 31}, {53, 275, 3, 31}, {59, 275, 3, 31});
  skin->barTrack = CutThree(atlas, {72, 275, 3, 31}, {64, 275, 3, 31}, {69, 275, 3, 31});
  skin->infoSymbol = Cut(atlas, {320, 0, 64, 64});
  skin->warningSymbol = Cut(atlas, {320, 69, 64, 64});
  skin->errorSymbol = Cut(atlas, {384, 69, 64, 64});
  skin->closeCross = Cut(atlas, {153, 39, 20, 20});
  skin->checkBoxOff = Cut(atlas, {0, 105, 13, 13});
  skin->checkBoxOn = Cut(atlas, {0, 118, 14, 13});
  return skin;
}

void AttachFonts(cSkin& skin, BitmapFont* font) {
  for (auto& guiFont : skin.guiFonts) guiFont = std::make_unique<gcn::HGEImageFont>(font, false);
}

std::unique_ptr<cScreenArt> CutScreenArt(HTEXTURE atlas) {
  auto art = std::make_unique<cScreenArt>();
  art->titleLogo = Cut(atlas, {0, 455, 287, 35});
  art->infoIcon = Cut(atlas, {13, 138, 14, 14});
  // Two columns, five rows; index = row * 2 + column.
  for (int index = 0; index < cScreenArt::kTypeIconCount; ++index) {
    const float column = static_cast<float>(index % 2);
    const float row = static_cast<float>(index / 2);
    art->typeIcons[index] = Cut(atlas, {50 + 16 * column, 338 + 16 * row, 16, 16});
  }
  return art;
}

int TypeIconFor(const std::string& typeName) {
  if (typeName == "WAV" || typeName == "XMI") return kIconSound;
  if (typeName == "TXT") return kIconText;
  if (typeName == "PAL") return kIconBrushes;
  if (typeName == "PID" || typeName == "PCX") return kIconPicture;
  if (typeName == "WWD") return kIconPlant;
  if (typeName == "ANI") return kIconFigure;
  return kIconUnknown;
}

}  // namespace SHR
