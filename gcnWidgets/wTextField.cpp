#include "gcnWidgets/wTextField.h"

#include <guichan/font.hpp>
#include <guichan/graphics.hpp>
#include <guichan/key.hpp>
#include <guichan/keyevent.hpp>
#include <guichan/mouseevent.hpp>

#include "gcnWidgets/wClipboard.h"
#include "gcnWidgets/wDraw.h"

namespace SHR {

namespace {

const gcn::Color kOuterFrame(64, 64, 64);
const gcn::Color kInnerFrame(21, 21, 21);
const gcn::Color kInside(60, 60, 60);
constexpr std::uint32_t kGlowLight = 0xFF6CB2FD;
constexpr std::uint32_t kGlowDark = 0xFF55789D;

bool IsTypedCharacter(int key) {
  return (key >= 32 && key <= 126) || (key >= 162 && key <= 255);
}

bool IsPasteKey(const gcn::KeyEvent& keyEvent) {
  const int key = keyEvent.getKey().getValue();
  if (key == 0x16) return true;  // the control character Ctrl+V produces
  return keyEvent.isControlPressed() && !keyEvent.isAltPressed() && (key == 'v' || key == 'V');
}

}  // namespace

TextField::TextField() {
  Init();
}

TextField::TextField(const std::string& text) : mText(text) {
  Init();
  adjustSize();
}

TextField::~TextField() = default;

void TextField::Init() {
  setFocusable(true);
  addMouseListener(this);
  addKeyListener(this);
}

void TextField::setText(const std::string& text) {
  mText = text;
  // A caret past the end would make the next edit or measurement reach
  // outside the text.
  if (mCaretPosition > mText.size()) mCaretPosition = static_cast<unsigned int>(mText.size());
}

void TextField::setCaretPosition(unsigned int position) {
  mCaretPosition = position > mText.size() ? static_cast<unsigned int>(mText.size()) : position;
  fixScroll();
}

void TextField::adjustSize() {
  setWidth(getFont()->getWidth(mText) + 7);
  setHeight(getFont()->getHeight() + 4);
  fixScroll();
}

int TextField::CaretX() const {
  return getFont()->getWidth(mText.substr(0, mCaretPosition));
}

void TextField::fixScroll() {
  if (!isFocused()) return;
  const int caretX = CaretX();
  const int width = getWidth();
  if (caretX - mXScroll >= width - 4) {
    mXScroll = caretX - width + 4;
  } else if (caretX - mXScroll <= 0) {
    mXScroll = caretX - width / 2;
    if (mXScroll < 0) mXScroll = 0;
  }
}

void TextField::draw(gcn::Graphics* graphics) {
  const gcn::ClipRectangle clip = graphics->getCurrentClipArea();
  const int w = getWidth();
  const int h = getHeight();

  graphics->setColor(kOuterFrame);
  graphics->drawLine(0, 0, w, 0);
  graphics->drawLine(0, 0, 0, h);
  graphics->drawLine(w - 1, h - 1, w - 1, 0);
  graphics->drawLine(w, h - 1, 0, h - 1);
  graphics->setColor(kInnerFrame);
  graphics->drawLine(1, 1, w - 2, 1);
  graphics->drawLine(1, 1, 1, h - 2);
  graphics->drawLine(w - 2, h - 2, w - 2, 1);
  graphics->drawLine(w - 1, h - 2, 1, h - 2);

  graphics->pushClipArea(gcn::Rectangle(2, 2, w - 4, h - 4));
  graphics->setColor(kInside);
  graphics->fillRectangle(gcn::Rectangle(0, 0, w, h));

  if (isFocused()) {
    int ax = 0, ay = 0;
    getAbsolutePosition(ax, ay);
    HGE* hge = hgeCreate(HGE_VERSION);
    hge->Gfx_SetClipping();
    const auto line = [hge](int x1, int y1, int x2, int y2, std::uint32_t colour) {
      hge->Gfx_RenderLine(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                          static_cast<float>(y2), colour, 0.5f);
    };
    line(ax - 1, ay + 1, ax + w, ay + 1, kGlowLight);
    line(ax, ay + h, ax + w, ay + h, kGlowLight);
    line(ax + 1, ay + 1, ax + 1, ay + h, kGlowLight);
    line(ax + w, ay + 1, ax + w, ay + h, kGlowLight);
    line(ax, ay + 1, ax, ay + h, kGlowDark);
    line(ax + w + 1, ay, ax + w + 1, ay + h + 1, kGlowDark);
    line(ax, ay, ax + w, ay, kGlowDark);
    line(ax - 1, ay + h + 1, ax + w, ay + h + 1, kGlowDark);
    gcn::ClipRectangle inner = clip;
    inner.width -= 2;
    inner.height -= 2;
    RestoreClipping(hge, inner);
    drawCaret(graphics, CaretX() - mXScroll);
  }

  graphics->setColor(getForegroundColor());
  graphics->setFont(getFont());
  graphics->drawText(mText, 3 - mXScroll, -3, gcn::Graphics::LEFT);
  graphics->popClipArea();
}

void TextField::drawCaret(gcn::Graphics* graphics, int x) {
  graphics->setColor(getForegroundColor());
  graphics->drawLine(x, graphics->getCurrentClipArea().height - 2, x, 1);
}

void TextField::mousePressed(gcn::MouseEvent& mouseEvent) {
  if (mouseEvent.getButton() != gcn::MouseEvent::LEFT) return;
  const int index = getFont()->getStringIndexAt(mText, mouseEvent.getX() + mXScroll);
  mCaretPosition = index < 0 ? 0u : static_cast<unsigned int>(index);
  if (mCaretPosition > mText.size()) mCaretPosition = static_cast<unsigned int>(mText.size());
  fixScroll();
}

void TextField::mouseDragged(gcn::MouseEvent& mouseEvent) {
  mouseEvent.consume();
}

void TextField::keyPressed(gcn::KeyEvent& keyEvent) {
  const int key = keyEvent.getKey().getValue();
  const auto length = static_cast<unsigned int>(mText.size());
  if (key == gcn::Key::LEFT && mCaretPosition > 0) {
    --mCaretPosition;
  } else if (key == gcn::Key::RIGHT && mCaretPosition < length) {
    ++mCaretPosition;
  } else if (key == gcn::Key::DELETE && mCaretPosition < length) {
    mText.erase(mCaretPosition, 1);
  } else if (key == gcn::Key::BACKSPACE && mCaretPosition > 0) {
    mText.erase(mCaretPosition - 1, 1);
    --mCaretPosition;
  } else if (key == gcn::Key::ENTER) {
    distributeActionEvent();
  } else if (key == gcn::Key::HOME) {
    mCaretPosition = 0;
  } else if (key == gcn::Key::END) {
    mCaretPosition = length;
  } else if (IsPasteKey(keyEvent)) {
    Paste();
  } else if (IsTypedCharacter(key) && !(keyEvent.isControlPressed() && !keyEvent.isAltPressed())) {
    mText.insert(mCaretPosition, 1, static_cast<char>(key));
    ++mCaretPosition;
  }
  if (key != gcn::Key::TAB) keyEvent.consume();
  fixScroll();
}

void TextField::Paste() {
  const std::string pasted = Utf8ToWindows1252(ReadClipboard());
  mText.insert(mCaretPosition, pasted);
  mCaretPosition += static_cast<unsigned int>(pasted.size());
}

}  // namespace SHR
