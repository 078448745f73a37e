#include <cmath>
#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wClipboard.h"
#include "gcnWidgets/wTextField.h"
#include "platform/HGEInput.h"
#include "text/Windows1252.h"

namespace widgettest {
namespace {

class TextField : public WidgetTest {
 protected:
  TextField() {
    field.setDimension(gcn::Rectangle(20, 40, 100, 24));
    top.add(&field);
    field.addActionListener(&enters);
    field.requestFocus();
  }
  ~TextField() override { SHR::SetClipboardSource(nullptr); }

  // Types UTF-8 text character by character, as the input adapter delivers it.
  void Type(const std::string& utf8) {
    for (std::size_t at = 0; at < utf8.size();)
      input.KeyPress(gcn::KeyValueOfCharacter(text::NextCodePoint(utf8, at)));
    Logic();
  }
  void Key(int key, bool control = false) {
    input.KeyPress(key, control);
    Logic();
  }

  SHR::TextField field;
  ActionCounter enters;
};

TEST_F(TextField, EditingKeysMoveAndDeleteWholeCharacters) {
  Type("CLAW");
  Key(gcn::Key::LEFT);
  Key(gcn::Key::LEFT);
  Type("xy");
  EXPECT_EQ(field.getText(), "CLxyAW");
  Key(gcn::Key::BACKSPACE);
  Key(gcn::Key::DELETE);
  EXPECT_EQ(field.getText(), "CLxW");
  Key(gcn::Key::HOME);
  Key(gcn::Key::BACKSPACE);  // nothing before the caret
  Key(gcn::Key::END);
  Key(gcn::Key::DELETE);  // nothing after it
  EXPECT_EQ(field.getText(), "CLxW");
  Key(gcn::Key::ENTER);
  EXPECT_EQ(enters.count, 1);

  // Any character is typed and kept as UTF-8; the caret steps over whole
  // characters, even those whose code is also a special key's number.
  field.setText("");
  Type(
      "/tmp/T\xC3\xA9l\xC3\xA9"
      "chargements/\xC3\x9Cn\xC3\xAF\xE2\x82\xAC\xD0\x96.rez");
  EXPECT_EQ(field.getText(),
            "/tmp/T\xC3\xA9l\xC3\xA9"
            "chargements/\xC3\x9Cn\xC3\xAF\xE2\x82\xAC\xD0\x96.rez");
  for (int i = 0; i < 5; ++i) Key(gcn::Key::LEFT);  // before the Ж
  Key(gcn::Key::BACKSPACE);                         // the euro sign goes whole
  Key(gcn::Key::DELETE);                            // so does the Ж
  EXPECT_EQ(field.getText(),
            "/tmp/T\xC3\xA9l\xC3\xA9"
            "chargements/\xC3\x9Cn\xC3\xAF.rez");
  field.setCaretPosition(7);  // inside the é: moved back to its start
  EXPECT_EQ(field.getCaretPosition(), 6u);
}

TEST_F(TextField, ControlCombinationsTypeNothingAndTabMovesTheFocus) {
  Key('a', true);
  Key('c', true);
  Key(gcn::Key::F1);
  EXPECT_EQ(field.getText(), "");
  SHR::TextField second;
  top.add(&second, 20, 80);
  second.setSize(100, 24);
  Key(gcn::Key::TAB);
  EXPECT_TRUE(second.isFocused());
}

TEST_F(TextField, CtrlVPastesOneLineOfUtf8AtTheCaret) {
  SHR::SetClipboardSource([] { return std::string("/home/\xC3\xBCser/CLAW.REZ\r\n"); });
  Type("ab");
  Key(gcn::Key::LEFT);
  Key('v', true);
  EXPECT_EQ(field.getText(), "a/home/\xC3\xBCser/CLAW.REZb");
  EXPECT_EQ(field.getCaretPosition(), 21u);
  Key(0x16);  // the control byte some keyboards send for Ctrl+V
  EXPECT_EQ(field.getText(), "a/home/\xC3\xBCser/CLAW.REZ/home/\xC3\xBCser/CLAW.REZb");
}

TEST_F(TextField, ScrollFollowsTheCaret) {
  // 10 pixels a character plus 1: the caret at n characters sits at 10n + 1.
  Type("1234567890");
  EXPECT_EQ(field.getScroll(), 101 - 100 + 4);
  Key(gcn::Key::HOME);
  EXPECT_EQ(field.getScroll(), 0);
}

TEST_F(TextField, MousePressPlacesTheCaretOnACharacter) {
  field.setText("\xC3\xA9\xC3\xA9\xC3\xA9");
  input.MouseMove(20 + 25, 50);
  input.MousePress(20 + 25, 50);
  Logic();
  EXPECT_EQ(field.getCaretPosition(), 4u);
}

// The relative luminance of a colour, as the contrast formula of WCAG defines it.
double Luminance(const gcn::Color& c) {
  const auto channel = [](int value) {
    const double v = value / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

TEST_F(TextField, TextReadsWellOnTheFieldAndFocusGlows) {
  field.setText("CLAW.REZ");
  Draw();
  const double text = Luminance(graphics.textColor), back = Luminance(graphics.fillColor);
  const double contrast = (std::max(text, back) + 0.05) / (std::min(text, back) + 0.05);
  EXPECT_GE(contrast, 4.5);
  EXPECT_GT(GlowLines(), 0);
  gui.focusNone();
  Draw();
  EXPECT_EQ(GlowLines(), 0);
}

// Through the engine's input adapter: Ctrl+V as the engine reports it.
TEST_F(TextField, EngineKeyEventsReachTheField) {
  SHR::SetClipboardSource([] { return std::string("\xC3\xA9"); });
  gcn::HGEInput engineInput;
  gui.setInput(&engineInput);
  const auto key = [this](int code, int chr, int flags = 0) {
    engine->QueueEvent({INPUT_KEYDOWN, code, flags, chr, 0, 0, 0});
  };
  key('C', 'C');
  key(0, 0xE9);
  key('V', 0, HGEINP_CTRL);
  key(HGEK_BACKSPACE, 0);
  key(HGEK_ENTER, 0);
  Logic();
  EXPECT_EQ(field.getText(), "C\xC3\xA9");
  EXPECT_EQ(enters.count, 1);
  gui.setInput(&input);
}

}  // namespace
}  // namespace widgettest
