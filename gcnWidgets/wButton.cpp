#include "gcnWidgets/wButton.h"

#include <guichan/exception.hpp>
#include <guichan/font.hpp>
#include <guichan/key.hpp>
#include <guichan/keyevent.hpp>
#include <guichan/mouseevent.hpp>

#include "gcnWidgets/wDraw.h"
#include "gcnWidgets/wSkin.h"

namespace SHR {

namespace {

bool IsPushKey(const gcn::KeyEvent& keyEvent) {
  const int key = keyEvent.getKey().getValue();
  return key == gcn::Key::ENTER || key == gcn::Key::SPACE;
}

}  // namespace

But::But(cSkin* skin, const std::string& caption) : mSkin(skin), mCaption(caption) {
  Init();
}

But::But(cSkin* skin, Sprite* icon) : mSkin(skin), mIcon(icon) {
  Init();
}

But::But(cSkin* skin) : mSkin(skin) {
  Init();
}

But::~But() = default;

void But::Init() {
  setFocusable(true);
  setFrameSize(0);
  adjustSize();
  addMouseListener(this);
  addKeyListener(this);
  addFocusListener(this);
}

void But::adjustSize() {
  const int spacing = static_cast<int>(mSpacing);
  setWidth(getFont()->getWidth(mCaption) + 2 * spacing);
  setHeight(getFont()->getHeight() + 2 * spacing);
}

bool But::isPressed() const {
  if (mMousePressed) return mHasMouse;
  return mKeyPressed;
}

void But::draw(gcn::Graphics* graphics) {
  const gcn::ClipRectangle clip = graphics->getCurrentClipArea();
  int ax = 0, ay = 0;
  getAbsolutePosition(ax, ay);
  const int w = getWidth();
  const int h = getHeight();

  HGE* hge = hgeCreate(HGE_VERSION);
  // The face may reach past the clip area of the widget's parent.
  hge->Gfx_SetClipping();

  const cThreePiece* face = &mSkin->buttonHover;
  if (isPressed())
    face = &mSkin->buttonPressed;
  else if (!isEnabled())
    face = &mSkin->buttonDisabled;
  else if (!mHasMouse)
    face = &mSkin->buttonNormal;
  DrawThreePiece(*face, ax, ay, w, h, 4);
  // Keyboard users must see which button Enter or Space would press.
  if (isFocused()) DrawFocusGlow(hge, ax, ay, w, h);

  if (mIcon) {
    mIcon->Render(static_cast<float>(ax), static_cast<float>(ay));
    RestoreClipping(hge, clip);
    return;
  }

  RestoreClipping(hge, clip);
  graphics->setColor(getForegroundColor());
  graphics->setFont(getFont());
  const int spacing = static_cast<int>(mSpacing);
  const int textY = h / 2 - getFont()->getHeight() / 2;
  int textX = 0;
  switch (mAlignment) {
    case gcn::Graphics::LEFT:
      textX = spacing;
      break;
    case gcn::Graphics::CENTER:
      textX = w / 2;
      break;
    case gcn::Graphics::RIGHT:
      textX = w - spacing;
      break;
    default:
      throw GCN_EXCEPTION("Unknown alignment.");
  }
  if (isPressed())
    graphics->drawText(mCaption, textX + 1, textY + 1, mAlignment);
  else
    graphics->drawText(mCaption, textX, textY, mAlignment);
}

void But::focusLost(const gcn::Event&) {
  mMousePressed = false;
  mKeyPressed = false;
}

void But::mousePressed(gcn::MouseEvent& mouseEvent) {
  if (mouseEvent.getButton() != gcn::MouseEvent::LEFT) return;
  mMousePressed = true;
  mouseEvent.consume();
}

void But::mouseReleased(gcn::MouseEvent& mouseEvent) {
  if (mouseEvent.getButton() != gcn::MouseEvent::LEFT) return;
  const bool clicked = mMousePressed && mHasMouse;
  mMousePressed = false;
  if (clicked) distributeActionEvent();
  mouseEvent.consume();
}

void But::mouseEntered(gcn::MouseEvent&) {
  mHasMouse = true;
}

void But::mouseExited(gcn::MouseEvent&) {
  mHasMouse = false;
}

void But::mouseDragged(gcn::MouseEvent& mouseEvent) {
  mouseEvent.consume();
}

void But::keyPressed(gcn::KeyEvent& keyEvent) {
  if (!IsPushKey(keyEvent)) return;
  mKeyPressed = true;
  keyEvent.consume();
}

void But::keyReleased(gcn::KeyEvent& keyEvent) {
  if (!IsPushKey(keyEvent) || !mKeyPressed) return;
  mKeyPressed = false;
  distributeActionEvent();
  keyEvent.consume();
}

}  // namespace SHR
