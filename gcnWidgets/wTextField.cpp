#include "gcnWidgets/wTextField.h"

#include <guichan/font.hpp>
#include <guichan/graphics.hpp>
#include <guichan/key.hpp>
#include <guichan/keyevent.hpp>
#include <guichan/mouseevent.hpp>

#include "gcnWidgets/wClipboard.h"
#include "gcnWidgets/wDraw.h"
#include "platform/HGEInput.h"
#include "text/Windows1252.h"

namespace SHR {

namespace {

const gcn::Color kOuterFrame(64, 64, 64);
const gcn::Color kInnerFrame(21, 21, 21);
const gcn::Color kInside(60, 60, 60);
// Light on the dark inside: 8.3:1 contrast, well above the 4.5:1 text needs.
const gcn::Color kText(224, 224, 224);

// The start of the character after the one at pos (pos itself at the end).
std::size_t NextBoundary(const std::string& text, std::size_t pos) {
  if (pos < text.size()) text::NextCodePoint(text, pos);
  return pos;
}

// The start of the character before pos (0 at the start).
std::size_t PreviousBoundary(const std::string& text, std::size_t pos) {
  std::size_t previous = 0;
  for (std::size_t at = 0; at < pos && at < text.size();) {
    previous = at;
    text::NextCodePoint(text, at);
  }
  return previous;
}

// pos, moved back to the start of the character it falls into.
std::size_t OnBoundary(const std::string& text, std::size_t pos) {
  if (pos >= text.size()) return text.size();
  return NextBoundary(text, PreviousBoundary(text, pos)) == pos ? pos : PreviousBoundary(text, pos);
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
  setForegroundColor(kText);
  setFocusable(true);
  addMouseListener(this);
  addKeyListener(this);
}

void TextField::setText(const std::string& text) {
  mText = text;
  // A caret past the end, or inside a character, would make the next edit
  // or measurement reach outside the text or split the character.
  mCaretPosition = static_cast<unsigned int>(OnBoundary(mText, mCaretPosition));
}

void TextField::setCaretPosition(unsigned int position) {
  mCaretPosition = static_cast<unsigned int>(OnBoundary(mText, position));
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
    DrawFocusGlow(hge, ax, ay, w, h);
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
  setCaretPosition(index < 0 ? 0u : static_cast<unsigned int>(index));
}

void TextField::mouseDragged(gcn::MouseEvent& mouseEvent) {
  mouseEvent.consume();
}

void TextField::keyPressed(gcn::KeyEvent& keyEvent) {
  const int key = keyEvent.getKey().getValue();
  const auto length = static_cast<unsigned int>(mText.size());
  const auto next = static_cast<unsigned int>(NextBoundary(mText, mCaretPosition));
  const auto previous = static_cast<unsigned int>(PreviousBoundary(mText, mCaretPosition));
  const char32_t typed = gcn::CharacterOfKeyValue(key);
  if (key == gcn::Key::LEFT) {
    mCaretPosition = previous;
  } else if (key == gcn::Key::RIGHT) {
    mCaretPosition = next;
  } else if (key == gcn::Key::DELETE) {
    mText.erase(mCaretPosition, next - mCaretPosition);
  } else if (key == gcn::Key::BACKSPACE) {
    mText.erase(previous, mCaretPosition - previous);
    mCaretPosition = previous;
  } else if (key == gcn::Key::ENTER) {
    distributeActionEvent();
  } else if (key == gcn::Key::HOME) {
    mCaretPosition = 0;
  } else if (key == gcn::Key::END) {
    mCaretPosition = length;
  } else if (IsPasteKey(keyEvent)) {
    Paste();
  } else if (typed && !(keyEvent.isControlPressed() && !keyEvent.isAltPressed())) {
    std::string character;
    text::AppendUtf8(character, typed);
    mText.insert(mCaretPosition, character);
    mCaretPosition += static_cast<unsigned int>(character.size());
  }
  if (key != gcn::Key::TAB) keyEvent.consume();
  fixScroll();
}

void TextField::Paste() {
  const std::string pasted = PastableText(ReadClipboard());
  mText.insert(mCaretPosition, pasted);
  mCaretPosition += static_cast<unsigned int>(pasted.size());
}

}  // namespace SHR
