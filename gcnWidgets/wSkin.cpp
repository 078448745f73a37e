#include "gcnWidgets/wSkin.h"

#include "gcnWidgets/wSkinLayout.h"
#include "text/HGEImageFont.h"

namespace SHR {

namespace {

std::unique_ptr<Sprite> Cut(HTEXTURE atlas, const layout::Rect& r) {
  return std::make_unique<Sprite>(atlas, static_cast<float>(r.x), static_cast<float>(r.y),
                                  static_cast<float>(r.w), static_cast<float>(r.h));
}

cThreePiece Cut(HTEXTURE atlas, const layout::ThreeRects& t) {
  return {Cut(atlas, t.left), Cut(atlas, t.middle), Cut(atlas, t.right)};
}

}  // namespace

std::unique_ptr<cSkin> CutSkin(HTEXTURE atlas) {
  using namespace layout;
  auto skin = std::make_unique<cSkin>();
  skin->arrowPointer = Cut(atlas, kArrowPointer);
  skin->handPointer = Cut(atlas, kHandPointer);
  skin->fieldBox = Cut(atlas, kFieldBox);
  skin->radioOff = Cut(atlas, kRadioOff);
  skin->radioOn = Cut(atlas, kRadioOn);
  skin->buttonNormal = Cut(atlas, kButtonNormal);
  skin->buttonHover = Cut(atlas, kButtonHover);
  skin->buttonDisabled = Cut(atlas, kButtonDisabled);
  skin->buttonPressed = Cut(atlas, kButtonPressed);
  skin->barFill = Cut(atlas, kBarFill);
  skin->barTrack = Cut(atlas, kBarTrack);
  skin->infoSymbol = Cut(atlas, kInfoSymbol);
  skin->warningSymbol = Cut(atlas, kWarningSymbol);
  skin->errorSymbol = Cut(atlas, kErrorSymbol);
  skin->closeCross = Cut(atlas, kCloseCross);
  skin->checkBoxOff = Cut(atlas, kCheckOff);
  skin->checkBoxOn = Cut(atlas, kCheckOn);
  return skin;
}

void AttachFonts(cSkin& skin, BitmapFont* font) {
  for (auto& guiFont : skin.guiFonts) guiFont = std::make_unique<gcn::HGEImageFont>(font, false);
  auto names = std::make_unique<gcn::HGEImageFont>(font, false);
  names->setLiteral(true);
  skin.nameFont = std::move(names);
}

std::unique_ptr<cScreenArt> CutScreenArt(HTEXTURE atlas) {
  auto art = std::make_unique<cScreenArt>();
  art->titleLogo = Cut(atlas, layout::kTitleLogo);
  art->infoIcon = Cut(atlas, layout::kInfoIcon);
  for (int index = 0; index < cScreenArt::kTypeIconCount; ++index)
    art->typeIcons[index] = Cut(atlas, layout::TypeIcon(index));
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
