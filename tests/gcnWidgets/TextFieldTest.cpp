#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wClipboard.h"
#include "gcnWidgets/wTextField.h"
#include "platform/HGEInput.h"

namespace widgettest {
namespace {

using Call = RecordingGraphics::Call;

class TextField : public WidgetTest {
 protected:
  TextField() {
    field.setDimension(gcn::Rectangle(20, 40, 100, 24));
    field.setForegroundColor(gcn::Color(200, 201, 202));
    top.add(&field);
    field.addActionListener(&enters);
    field.requestFocus();
  }
  ~TextField() override { SHR::SetClipboardSource(nullptr); }

  void Type(const std::string& text) {
    for (unsigned char c : text) input.KeyPress(c);
    Logic();
  }
  void Key(int key, bool control = false) {
    input.KeyPress(key, control);
    Logic();
  }
  void ExpectLine(const Call& line, const int (&ends)[4]) {
    EXPECT_EQ(line.x1, ends[0]);
    EXPECT_EQ(line.y1, ends[1]);
    EXPECT_EQ(line.x2, ends[2]);
    EXPECT_EQ(line.y2, ends[3]);
  }

  SHR::TextField field;
  ActionCounter enters;
};

TEST_F(TextField, SizedFromTheText) {
  SHR::TextField withText("C:\\GAMES\\CLAW.REZ");
  EXPECT_EQ(withText.getWidth(), font.getWidth("C:\\GAMES\\CLAW.REZ") + 7);
  EXPECT_EQ(withText.getHeight(), 24 + 4);
  EXPECT_EQ(withText.getCaretPosition(), 0u);
}

TEST_F(TextField, EditingKeysMoveAndDeleteAtTheCaret) {
  Type("CLAW");
  EXPECT_EQ(field.getCaretPosition(), 4u);
  Key(gcn::Key::LEFT);
  Key(gcn::Key::LEFT);
  Type("xy");
  EXPECT_EQ(field.getText(), "CLxyAW");
  EXPECT_EQ(field.getCaretPosition(), 4u);
  Key(gcn::Key::BACKSPACE);
  Key(gcn::Key::DELETE);
  EXPECT_EQ(field.getText(), "CLxW");
  EXPECT_EQ(field.getCaretPosition(), 3u);
  Key(gcn::Key::HOME);
  Key(gcn::Key::BACKSPACE);  // nothing before the caret
  Key(gcn::Key::LEFT);
  EXPECT_EQ(field.getText(), "CLxW");
  EXPECT_EQ(field.getCaretPosition(), 0u);
  Key(gcn::Key::END);
  Key(gcn::Key::DELETE);  // nothing after it
  Key(gcn::Key::RIGHT);
  EXPECT_EQ(field.getText(), "CLxW");
  EXPECT_EQ(field.getCaretPosition(), 4u);
  Key(gcn::Key::ENTER);  // an action; the text stays
  EXPECT_EQ(enters.count, 1);
  EXPECT_EQ(field.getText(), "CLxW");

  // Set from outside, the caret stays inside the text.
  field.setCaretPosition(99);
  EXPECT_EQ(field.getCaretPosition(), 4u);
  field.setText("ab");
  EXPECT_EQ(field.getCaretPosition(), 2u);
  Key(gcn::Key::DELETE);
  Key(gcn::Key::BACKSPACE);
  EXPECT_EQ(field.getText(), "a");
}

TEST_F(TextField, OnlyCharactersAreTypedEveryKeyButTabIsConsumed) {
  struct Global : gcn::KeyListener {
    void keyPressed(gcn::KeyEvent& event) override {
      if (!event.isConsumed()) keys.push_back(event.getKey().getValue());
    }
    std::vector<int> keys;
  } global;
  top.addKeyListener(&global);
  Key(gcn::Key::LEFT);  // at 0: no effect, still consumed
  Key(gcn::Key::F1);
  for (int key = 1; key < 256; ++key)
    if (key != gcn::Key::ENTER && key != gcn::Key::TAB) input.KeyPress(key);
  Logic();
  EXPECT_TRUE(global.keys.empty());
  top.removeKeyListener(&global);
  std::string expected;
  for (int key = 32; key <= 126; ++key) expected.push_back(static_cast<char>(key));
  for (int key = 162; key <= 255; ++key) expected.push_back(static_cast<char>(key));
  EXPECT_EQ(field.getText(), expected);

  SHR::TextField second;
  top.add(&second, 20, 80);
  second.setSize(100, 24);
  Key(gcn::Key::TAB);
  EXPECT_EQ(field.getText(), expected);
  EXPECT_TRUE(second.isFocused());  // the toolkit moved the focus on
}

TEST_F(TextField, ScrollFollowsTheCaretOnlyWithFocus) {
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

  Key(gcn::Key::END);
  gui.focusNone();
  field.setCaretPosition(0);
  EXPECT_EQ(field.getScroll(), 55);
  field.requestFocus();
  field.setCaretPosition(0);
  EXPECT_EQ(field.getScroll(), 0);
}

TEST_F(TextField, MousePressPlacesTheCaret) {
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

TEST_F(TextField, CtrlVPastesAtTheCaret) {
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
  const std::pair<const char*, const char*> cases[] = {
      {"plain/path.rez", "plain/path.rez"},
      {"line one\r\nline two\n", "line oneline two"},
      {"tab\there", "tabhere"},
      {"\xc3\xa9\xc2\xa3\xc3\xbf", "\xe9\xa3\xff"},
      {"\xe2\x82\xac \xe2\x80\x94 \xc5\xb8", "\x80 \x97 \x9f"},
      {"\xe6\x97\xa5", "?"},  // no byte for it
      {"\xf0\x9f\x98\x80x", "?x"},
      // Malformed: a lone continuation, a truncated sequence, an over-long form, a surrogate.
      {"\x80", "?"},
      {"a\xc3", "a?"},
      {"\xe2\x82z", "?z"},
      {"\xc0\xaf", "?"},
      {"\xed\xa0\x80", "?"},
      {"a\xc2\x85\x7f"
       "b",
       "ab"},  // C1 controls and DEL are control characters
  };
  for (const auto& [utf8, expected] : cases)
    EXPECT_EQ(SHR::Utf8ToWindows1252(utf8), expected) << utf8;
}

// Typing as the engine reports it, through the program's input adapter.
TEST_F(TextField, EngineKeyEventsReachTheField) {
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

TEST_F(TextField, FramesInsideAndTextWithoutFocus) {
  gui.focusNone();
  field.setText("abc");
  Draw();
  const auto lines = graphics.Of(Call::kLine);
  ASSERT_EQ(lines.size(), 8u);
  const int expected[8][4] = {{0, 0, 100, 0}, {0, 0, 0, 24}, {99, 23, 99, 0}, {100, 23, 0, 23},
                              {1, 1, 98, 1},  {1, 1, 1, 22}, {98, 22, 98, 1}, {99, 22, 1, 22}};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    ExpectLine(lines[i], expected[i]);
    EXPECT_EQ(lines[i].color, i < 4 ? gcn::Color(64, 64, 64) : gcn::Color(21, 21, 21));
    EXPECT_EQ(lines[i].clip.xOffset, 20);
  }
  const auto fills = graphics.Of(Call::kFill);
  ASSERT_EQ(fills.size(), 2u);  // the container's background, then the field's inside
  EXPECT_EQ(fills[1].color, gcn::Color(60, 60, 60));
  EXPECT_EQ(fills[1].x2, 100);
  EXPECT_EQ(fills[1].y2, 24);
  EXPECT_EQ(fills[1].clip.x, 22);
  EXPECT_EQ(fills[1].clip.y, 42);
  EXPECT_EQ(fills[1].clip.width, 96);
  EXPECT_EQ(fills[1].clip.height, 20);
  const auto texts = graphics.Of(Call::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "abc");
  EXPECT_EQ(texts[0].x1, 3);
  EXPECT_EQ(texts[0].y1, -3);
  EXPECT_EQ(texts[0].color, gcn::Color(200, 201, 202));
  EXPECT_EQ(texts[0].clip.xOffset, 22);
  EXPECT_TRUE(engine->calls.empty());  // no glow, no caret, no engine clipping
}

TEST_F(TextField, FocusAddsTheGlowAndTheCaret) {
  field.setText("abc");
  field.setCaretPosition(2);
  Draw();
  // Where the glow's lines fall is checked in real pixels.
  EXPECT_EQ(engine->Lines().size(), 8u);
  const auto clips = engine->Clips();
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_EQ(clips[0].x + clips[0].y + clips[0].w + clips[0].h, 0);
  EXPECT_EQ(clips[1].x, 20);
  EXPECT_EQ(clips[1].y, 40);
  EXPECT_EQ(clips[1].w, 98);
  EXPECT_EQ(clips[1].h, 22);
  // The glow comes before the clip that ends it.
  EXPECT_EQ(engine->calls.back().kind, RecordingEngine::Call::kClip);

  const auto lines = graphics.Of(Call::kLine);
  ASSERT_EQ(lines.size(), 9u);
  const int caretX = font.getWidth("ab");
  ExpectLine(lines[8], {caretX, 20 - 2, caretX, 1});
  EXPECT_EQ(lines[8].color, gcn::Color(200, 201, 202));
  EXPECT_EQ(lines[8].clip.height, 20);

  // Scrolled, the text and the caret move left.
  field.setText(std::string(15, 'x'));
  field.setCaretPosition(15);  // 151 - 100 + 4
  ASSERT_EQ(field.getScroll(), 55);
  Draw();
  EXPECT_EQ(graphics.Of(Call::kText).at(0).x1, 3 - 55);
  EXPECT_EQ(graphics.Of(Call::kLine).at(8).x1, 151 - 55);
}

}  // namespace
}  // namespace widgettest
