#include "gcnWidgets/wCheckBox.h"

#include <guichan/font.hpp>
#include <guichan/graphics.hpp>
#include <guichan/key.hpp>
#include <guichan/keyevent.hpp>
#include <guichan/mouseevent.hpp>

#include "gcnWidgets/wDraw.h"
#include "gcnWidgets/wSkin.h"

namespace SHR {

CBox::CBox(cSkin* skin, const std::string& caption, bool selected)
    : mSelected(selected), mCaption(caption), skin(skin) {
  Init();
  adjustSize();
}

CBox::CBox() {
  Init();
}

CBox::~CBox() = default;

void CBox::Init() {
  setFocusable(true);
  addMouseListener(this);
  addKeyListener(this);
}

void CBox::adjustSize() {
  setHeight(getFont()->getHeight());
  setWidth(getFont()->getWidth(mCaption) + 16);
}

void CBox::draw(gcn::Graphics* graphics) {
  // The box is clipped by the parent's area, not by its own.
  graphics->popClipArea();
  int ax = 0, ay = 0;
  getAbsolutePosition(ax, ay);
  const int h = getHeight();
  // A box made with the default constructor has no skin until its creator
  // sets one; it then shows only its caption.
  if (skin) {
    Sprite* piece = mSelected ? skin->checkBoxOn.get() : skin->checkBoxOff.get();
    piece->Render(static_cast<float>(ax), static_cast<float>(ay + h / 2 - 6));
    if (isFocused()) {
      HGE* hge = hgeCreate(HGE_VERSION);
      DrawFocusGlow(hge, ax, ay + h / 2 - 6, 12, 12);
      RestoreClipping(hge, graphics->getCurrentClipArea());
    }
  }
  graphics->setFont(getFont());
  graphics->setColor(getForegroundColor());
  // Balances the pop the container does after this draw.
  graphics->pushClipArea(getDimension());
  graphics->drawText(mCaption, 16, 0, gcn::Graphics::LEFT);
}

void CBox::keyPressed(gcn::KeyEvent& keyEvent) {
  const int key = keyEvent.getKey().getValue();
  if (key != gcn::Key::ENTER && key != gcn::Key::SPACE) return;
  toggleSelected();
  keyEvent.consume();
}

void CBox::mouseClicked(gcn::MouseEvent& mouseEvent) {
  if (mouseEvent.getButton() == gcn::MouseEvent::LEFT) toggleSelected();
}

void CBox::mouseDragged(gcn::MouseEvent& mouseEvent) {
  mouseEvent.consume();
}

void CBox::toggleSelected() {
  mSelected = !mSelected;
  distributeActionEvent();
}

}  // namespace SHR
