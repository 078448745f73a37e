// One-line text entry: UTF-8 text with a caret and a horizontal scroll, edited
// from the keyboard character by character; Enter sends an action event,
// Ctrl+V pastes the clipboard at the caret.
#pragma once

#include <guichan/keylistener.hpp>
#include <guichan/mouselistener.hpp>
#include <guichan/widget.hpp>
#include <string>

namespace SHR {

class TextField : public gcn::Widget, public gcn::MouseListener, public gcn::KeyListener {
 public:
  TextField();
  explicit TextField(const std::string& text);
  ~TextField() override;

  // Keeps the caret inside the new text.
  void setText(const std::string& text);
  const std::string& getText() const { return mText; }
  // A byte offset, clamped to the text and moved back to a character's start.
  void setCaretPosition(unsigned int position);
  unsigned int getCaretPosition() const { return mCaretPosition; }
  int getScroll() const { return mXScroll; }
  // Text width plus 7 wide, font height plus 4 high.
  void adjustSize();

  void draw(gcn::Graphics* graphics) override;
  void fontChanged() override { fixScroll(); }

  void mousePressed(gcn::MouseEvent& mouseEvent) override;
  void mouseDragged(gcn::MouseEvent& mouseEvent) override;
  void keyPressed(gcn::KeyEvent& keyEvent) override;
  virtual void drawCaret(gcn::Graphics* graphics, int x);

 protected:
  // Keeps the caret in view; only while the field has the focus.
  void fixScroll();

 private:
  void Init();
  int CaretX() const;
  void Paste();

  std::string mText;
  unsigned int mCaretPosition = 0;
  int mXScroll = 0;
};

}  // namespace SHR
