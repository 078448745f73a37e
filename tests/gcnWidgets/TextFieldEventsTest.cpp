#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wClipboard.h"
#include "gcnWidgets/wTextField.h"
#include "platform/HGEInput.h"

namespace widgettest {
namespace {

class TextFieldEvents : public WidgetTest {
 protected:
  TextFieldEvents() {
    field.setDimension(gcn::Rectangle(20, 40, 100, 24));
    top.add(&field);
    field.addActionListener(&enters);
    field.requestFocus();
  }
  ~TextFieldEvents() override { SHR::SetClipboardSource(nullptr); }

  void Type(const std::string& text) {
    for (unsigned char c : text) input.KeyPress(c);
    Logic();
  }
  void Key(int key, bool control = false) {
    input.KeyPress(key, control);
    Logic();
  }

  SHR::TextField field;
  ActionCounter enters;
};

TEST_F(TextFieldEvents, ConstructorsAndSize) {
  SHR::TextField empty;
  EXPECT_EQ(empty.getText(), "");
  EXPECT_TRUE(empty.isFocusable());
  SHR::TextField withText("C:\\GAMES\\CLAW.REZ");
  EXPECT_EQ(withText.getWidth(), font.getWidth("C:\\GAMES\\CLAW.REZ") + 7);
  EXPECT_EQ(withText.getHeight(), 24 + 4);
  EXPECT_EQ(withText.getCaretPosition(), 0u);
}

TEST_F(TextFieldEvents, TypingInsertsAtTheCaret) {
  Type("CLAW");
  EXPECT_EQ(field.getText(), "CLAW");
  EXPECT_EQ(field.getCaretPosition(), 4u);
  Key(gcn::Key::LEFT);
  Key(gcn::Key::LEFT);
  Type("xy");
  EXPECT_EQ(field.getText(), "CLxyAW");
  EXPECT_EQ(field.getCaretPosition(), 4u);
  Key(gcn::Key::BACKSPACE);
  EXPECT_EQ(field.getText(), "CLxAW");
  Key(gcn::Key::DELETE);
  EXPECT_EQ(field.getText(), "CLxW");
  EXPECT_EQ(field.getCaretPosition(), 3u);
  Key(gcn::Key::HOME);
  EXPECT_EQ(field.getCaretPosition(), 0u);
  Key(gcn::Key::BACKSPACE);  // nothing before the caret
  Key(gcn::Key::LEFT);
  EXPECT_EQ(field.getText(), "CLxW");
  EXPECT_EQ(field.getCaretPosition(), 0u);
  Key(gcn::Key::END);
  EXPECT_EQ(field.getCaretPosition(), 4u);
  Key(gcn::Key::DELETE);  // nothing after it
  Key(gcn::Key::RIGHT);
  EXPECT_EQ(field.getText(), "CLxW");
  EXPECT_EQ(field.getCaretPosition(), 4u);
}

TEST_F(TextFieldEvents, OnlyTheCharacterRangesAreTyped) {
  for (int key = 1; key < 256; ++key) {
    if (key == gcn::Key::ENTER || key == gcn::Key::TAB) continue;
    input.KeyPress(key);
  }
  Logic();
  std::string expected;
  for (int key = 32; key <= 126; ++key) expected.push_back(static_cast<char>(key));
  for (int key = 162; key <= 255; ++key) expected.push_back(static_cast<char>(key));
  EXPECT_EQ(field.getText(), expected);
}

TEST_F(TextFieldEvents, TabIsNeitherInsertedNorConsumed) {
  SHR::TextField second;
  top.add(&second, 20, 80);
  second.setSize(100, 24);
  Key(gcn::Key::TAB);
  EXPECT_EQ(field.getText(), "");
  EXPECT_TRUE(second.isFocused());  // the toolkit moved the focus on
}

TEST_F(TextFieldEvents, OtherKeysAreConsumed) {
  struct Global : gcn::KeyListener {
    void keyPressed(gcn::KeyEvent& event) override {
      if (!event.isConsumed()) keys.push_back(event.getKey().getValue());
    }
    std::vector<int> keys;
  } global;
  top.addKeyListener(&global);
  Key(gcn::Key::LEFT);  // at 0: no effect, still consumed
  Key(gcn::Key::F1);
  Key(127);
  Key('a');
  EXPECT_TRUE(global.keys.empty());
  top.removeKeyListener(&global);
}

TEST_F(TextFieldEvents, EnterSendsAnActionAndKeepsTheText) {
  Type("a");
  Key(gcn::Key::ENTER);
  EXPECT_EQ(enters.count, 1);
  EXPECT_EQ(field.getText(), "a");
}

TEST_F(TextFieldEvents, ScrollFollowsTheCaret) {
  // 10 pixels a character plus 1: the caret at n characters sits at 10n + 1.
  Type("123456789");
  EXPECT_EQ(field.getScroll(), 0);  // 91 < 96
  Type("0");
  EXPECT_EQ(field.getScroll(), 101 - 100 + 4);
  Type("abcde");
  EXPECT_EQ(field.getScroll(), 151 - 100 + 4);
  Key(gcn::Key::HOME);
  EXPECT_EQ(field.getScroll(), 0);  // 1 - 50 clamps to 0
  Key(gcn::Key::END);
  EXPECT_EQ(field.getScroll(), 55);
  // Walking left: the caret leaves the view at 5 characters (51 - 55 <= 0)
  // and is put half a field width from the left edge.
  for (int i = 0; i < 9; ++i) Key(gcn::Key::LEFT);
  EXPECT_EQ(field.getScroll(), 55);
  Key(gcn::Key::LEFT);
  EXPECT_EQ(field.getCaretPosition(), 5u);
  EXPECT_EQ(field.getScroll(), 51 - 50);
  Key(gcn::Key::LEFT);
  EXPECT_EQ(field.getScroll(), 1);
}

TEST_F(TextFieldEvents, WithoutFocusTheScrollStays) {
  Type("0123456789abc");
  const int scroll = field.getScroll();
  ASSERT_GT(scroll, 0);
  gui.focusNone();
  field.setCaretPosition(0);
  EXPECT_EQ(field.getScroll(), scroll);
  field.requestFocus();
  field.setCaretPosition(0);
  EXPECT_EQ(field.getScroll(), 0);
}

TEST_F(TextFieldEvents, MousePressPlacesTheCaret) {
  field.setText("abcdef");
  input.MouseMove(20 + 25, 50);
  input.MousePress(20 + 25, 50);
  input.MouseRelease(20 + 25, 50);
  Logic();
  EXPECT_EQ(field.getCaretPosition(), 2u);
  input.MousePress(20 + 95, 50);  // beyond the end
  Logic();
  EXPECT_EQ(field.getCaretPosition(), 6u);
  input.MousePress(20 + 5, 50, gcn::MouseInput::RIGHT);
  Logic();
  EXPECT_EQ(field.getCaretPosition(), 6u);
}

TEST_F(TextFieldEvents, SetCaretClampsAndSetTextKeepsTheCaretInside) {
  field.setText("abcdef");
  field.setCaretPosition(99);
  EXPECT_EQ(field.getCaretPosition(), 6u);
  field.setText("ab");
  EXPECT_EQ(field.getCaretPosition(), 2u);
  Key(gcn::Key::DELETE);
  Key(gcn::Key::BACKSPACE);
  EXPECT_EQ(field.getText(), "a");
}

TEST_F(TextFieldEvents, CtrlVPastesAtTheCaret) {
  SHR::SetClipboardSource([] { return std::string("/home/user/CLAW.REZ\n"); });
  Type("ab");
  Key(gcn::Key::LEFT);
  Key('v', true);
  EXPECT_EQ(field.getText(), "a/home/user/CLAW.REZb");
  EXPECT_EQ(field.getCaretPosition(), 20u);
  // Other control combinations type nothing.
  Key('a', true);
  Key('c', true);
  EXPECT_EQ(field.getText(), "a/home/user/CLAW.REZb");
  // The control byte some keyboards send for Ctrl+V pastes too.
  SHR::SetClipboardSource([] { return std::string("\xc3\xa9t\xc3\xa9"); });
  Key(gcn::Key::HOME);
  Key(0x16);
  EXPECT_EQ(field.getText(),
            "\xe9t\xe9"
            "a/home/user/CLAW.REZb");
}

TEST(Utf8ToWindows1252, ConvertsWhatItCanAndMarksTheRest) {
  EXPECT_EQ(SHR::Utf8ToWindows1252("plain/path.rez"), "plain/path.rez");
  EXPECT_EQ(SHR::Utf8ToWindows1252("line one\r\nline two\n"), "line oneline two");
  EXPECT_EQ(SHR::Utf8ToWindows1252("tab\there"), "tabhere");
  EXPECT_EQ(SHR::Utf8ToWindows1252("\xc3\xa9\xc2\xa3\xc3\xbf"), "\xe9\xa3\xff");
  EXPECT_EQ(SHR::Utf8ToWindows1252("\xe2\x82\xac \xe2\x80\x94 \xc5\xb8"), "\x80 \x97 \x9f");
  EXPECT_EQ(SHR::Utf8ToWindows1252("\xe6\x97\xa5"), "?");  // no byte for it
  EXPECT_EQ(SHR::Utf8ToWindows1252("\xf0\x9f\x98\x80x"), "?x");
  // Malformed: a lone continuation, a truncated sequence, an over-long form, a surrogate.
  EXPECT_EQ(SHR::Utf8ToWindows1252("\x80"), "?");
  EXPECT_EQ(SHR::Utf8ToWindows1252("a\xc3"), "a?");
  EXPECT_EQ(SHR::Utf8ToWindows1252("\xe2\x82z"), "?z");
  EXPECT_EQ(SHR::Utf8ToWindows1252("\xc0\xaf"), "?");
  EXPECT_EQ(SHR::Utf8ToWindows1252("\xed\xa0\x80"), "?");
  // C1 controls and DEL are control characters.
  EXPECT_EQ(SHR::Utf8ToWindows1252("a\xc2\x85\x7f"
                                   "b"),
            "ab");
}

}  // namespace
}  // namespace widgettest

namespace widgettest {
namespace {

// Typing as the engine reports it, through the program's input adapter.
TEST_F(TextFieldEvents, EngineKeyEventsReachTheField) {
  gcn::HGEInput engineInput;
  gui.setInput(&engineInput);
  const auto key = [this](int type, int code, int chr) {
    hgeInputEvent event;
    event.type = type;
    event.key = code;
    event.chr = chr;
    engine->QueueEvent(event);
  };
  for (char c : std::string("CLAW")) {
    key(INPUT_KEYDOWN, c, c);
    key(INPUT_KEYUP, c, 0);
  }
  key(INPUT_KEYDOWN, 0, 0xE9);  // a character without a key of its own
  key(INPUT_KEYDOWN, HGEK_BACKSPACE, 0);
  key(INPUT_KEYDOWN, HGEK_LEFT, 0);
  key(INPUT_KEYDOWN, HGEK_DELETE, 0);
  key(INPUT_KEYDOWN, HGEK_ENTER, 0);
  Logic();
  EXPECT_EQ(field.getText(), "CLA");
  EXPECT_EQ(enters.count, 1);
  gui.setInput(&input);
}

}  // namespace
}  // namespace widgettest
