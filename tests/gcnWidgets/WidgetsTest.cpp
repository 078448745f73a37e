// Click and key behaviour of the widgets, on the recording engine with the
// skin cut from a 512x512 texture and input scripted event by event.
#include <gtest/gtest.h>

#include <algorithm>
#include <guichan/actionlistener.hpp>
#include <guichan/font.hpp>
#include <guichan/graphics.hpp>
#include <guichan/gui.hpp>
#include <guichan/key.hpp>

#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wClipboard.h"
#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wProgressBar.h"
#include "gcnWidgets/wSkin.h"
#include "gcnWidgets/wTextField.h"
#include "platform/HGEInput.h"
#include "support/RecordingEngine.h"
#include "support/ScriptedInput.h"
#include "text/Windows1252.h"

namespace {

// Every character (UTF-8) 10 pixels wide; string widths carry the extra pixel
// of the program's font adapter.
class FixedWidthFont : public gcn::Font {
 public:
  int getWidth(const std::string& text) const override {
    return static_cast<int>(Starts(text).size()) * 10 + 1;
  }
  int getHeight() const override { return 24; }
  int getStringIndexAt(const std::string& text, int x) const override {
    const std::vector<std::size_t> starts = Starts(text);
    const std::size_t index = static_cast<std::size_t>(std::max(x, 0) / 10);
    return static_cast<int>(index < starts.size() ? starts[index] : text.size());
  }
  void drawString(gcn::Graphics*, const std::string&, int, int) override {}

 private:
  static std::vector<std::size_t> Starts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size(); text::NextCodePoint(text, at)) starts.push_back(at);
    return starts;
  }
};

class NoGraphics : public gcn::Graphics {
 public:
  void drawImage(const gcn::Image*, int, int, int, int, int, int) override {}
  void drawPoint(int, int) override {}
  void drawLine(int, int, int, int) override {}
  void drawRectangle(const gcn::Rectangle&) override {}
  void fillRectangle(const gcn::Rectangle&) override {}
  void setColor(const gcn::Color& c) override { color = c; }
  const gcn::Color& getColor() const override { return color; }
  gcn::Color color;
};

class Counter : public gcn::ActionListener {
 public:
  void action(const gcn::ActionEvent&) override { ++count; }
  int count = 0;
};

class Widgets : public ::testing::Test {
 protected:
  Widgets() : engine(new RecordingEngine) {
    hgeInstall(std::unique_ptr<HGE>(engine));
    skin = SHR::CutSkin(engine->AddTexture(512, 512));
    gcn::Widget::setGlobalFont(&font);
    top.setDimension(gcn::Rectangle(0, 0, 600, 300));
    gui.setInput(&input);
    gui.setGraphics(&graphics);
    gui.setTop(&top);
  }
  ~Widgets() override {
    gui.setTop(nullptr);
    gcn::Widget::setGlobalFont(nullptr);
    SHR::SetClipboardSource(nullptr);
  }
  void Logic() { gui.logic(); }
  void Click(int x, int y, unsigned button = gcn::MouseInput::LEFT) {
    input.MouseMove(x, y);
    input.MousePress(x, y, button);
    input.MouseRelease(x, y, button);
    Logic();
  }
  void Key(int key, bool control = false) {
    input.KeyPress(key, control);
    Logic();
  }
  // Draws afresh; returns the lines of the skin's focus glow.
  int GlowLines() {
    engine->ClearCalls();
    gui.draw();
    return std::count_if(engine->lines.begin(), engine->lines.end(),
                         [](const RecordingEngine::Line& l) { return l.color == 0xFF6CB2FD; });
  }

  RecordingEngine* engine;
  std::unique_ptr<SHR::cSkin> skin;
  FixedWidthFont font;
  ScriptedInput input;
  NoGraphics graphics;
  SHR::Contener top;
  gcn::Gui gui;
  Counter actions;
};

TEST_F(Widgets, ButtonClicksOnALeftReleaseInsideOrOnEnterOrSpaceWithTheFocus) {
  SHR::But button(skin.get(), "Next");
  button.setDimension(gcn::Rectangle(100, 100, 120, 30));
  top.add(&button);
  button.addActionListener(&actions);
  input.MouseMove(150, 110);
  input.MousePress(150, 110);
  Logic();
  EXPECT_TRUE(button.isPressed());
  EXPECT_EQ(actions.count, 0);
  input.MouseRelease(150, 110);
  input.MouseRelease(150, 110);  // a stray release sends nothing more
  Logic();
  EXPECT_EQ(actions.count, 1);
  // Released outside, or the right button: nothing.
  input.MousePress(150, 110);
  input.MouseMove(400, 250);
  input.MouseRelease(400, 250);
  Click(150, 110, gcn::MouseInput::RIGHT);
  EXPECT_EQ(actions.count, 1);

  // The focus shows as the glow; a key press shows, its release clicks.
  gui.focusNone();
  EXPECT_EQ(GlowLines(), 0);
  button.requestFocus();
  EXPECT_GT(GlowLines(), 0);
  Key(gcn::Key::SPACE);
  EXPECT_TRUE(button.isPressed());
  input.KeyRelease(gcn::Key::ENTER);  // Space and Enter count alike
  input.KeyRelease(gcn::Key::ENTER);  // a release without a press
  input.KeyPress('a');
  input.KeyRelease('a');
  Logic();
  EXPECT_EQ(actions.count, 2);
  Key(gcn::Key::SPACE);
  gui.focusNone();  // losing the focus clears the press
  EXPECT_FALSE(button.isPressed());
  button.requestFocus();
  input.KeyRelease(gcn::Key::SPACE);
  Logic();
  EXPECT_EQ(actions.count, 2);
}

TEST_F(Widgets, CheckBoxTogglesOnLeftClickEnterAndSpace) {
  SHR::CBox box(skin.get(), "");
  top.add(&box, 40, 60);
  box.addActionListener(&actions);
  Click(45, 70);
  Click(45, 70, gcn::MouseInput::RIGHT);  // changes nothing
  EXPECT_TRUE(box.isSelected());
  box.requestFocus();
  Key(gcn::Key::ENTER);
  EXPECT_FALSE(box.isSelected());
  input.KeyPress(gcn::Key::SPACE);
  input.KeyPress('x');
  Logic();
  EXPECT_TRUE(box.isSelected());
  EXPECT_EQ(actions.count, 3);
  EXPECT_GT(GlowLines(), 0);
}

class TextField : public Widgets {
 protected:
  TextField() {
    field.setDimension(gcn::Rectangle(20, 40, 100, 24));
    top.add(&field);
    field.addActionListener(&actions);
    field.requestFocus();
  }
  // Types UTF-8 text character by character, as the input adapter delivers it.
  void Type(const std::string& utf8) {
    for (std::size_t at = 0; at < utf8.size();)
      input.KeyPress(gcn::KeyValueOfCharacter(text::NextCodePoint(utf8, at)));
    Logic();
  }
  SHR::TextField field;
};

// Any character is typed and kept as UTF-8; the caret steps over whole
// characters, even those whose code is also a special key's number.
TEST_F(TextField, EditingKeysMoveAndDeleteWholeCharacters) {
  Type("T\xC3\xA9\xE2\x82\xAC\xD0\x96.rez");
  EXPECT_EQ(field.getText(), "T\xC3\xA9\xE2\x82\xAC\xD0\x96.rez");
  for (int i = 0; i < 5; ++i) Key(gcn::Key::LEFT);  // before the Ж
  Key(gcn::Key::BACKSPACE);                         // the euro sign goes whole
  Key(gcn::Key::DELETE);                            // so does the Ж
  Type("x");
  Key(gcn::Key::HOME);
  Key(gcn::Key::BACKSPACE);  // nothing before the caret
  Key(gcn::Key::END);
  Key(gcn::Key::DELETE);  // nothing after it
  Key('a', true);         // Control combinations and function keys type nothing
  Key(gcn::Key::F1);
  EXPECT_EQ(field.getText(), "T\xC3\xA9x.rez");
  Key(gcn::Key::ENTER);
  EXPECT_EQ(actions.count, 1);
  field.setCaretPosition(2);  // inside the é: moved back to its start
  EXPECT_EQ(field.getCaretPosition(), 1u);
  // A press places the caret on a character.
  field.setText("\xC3\xA9\xC3\xA9\xC3\xA9");
  Click(20 + 25, 50);
  EXPECT_EQ(field.getCaretPosition(), 4u);
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

// The fill ends at the right edge of its last piece, rounded toward zero; 0 when
// only the track shows. Negative counts show an empty bar; more done than there
// is, or something done of nothing, a full one.
TEST_F(Widgets, ProgressBarFillAndPercentage) {
  SHR::ProgressBar bar(skin.get());
  bar.setDimension(gcn::Rectangle(20, 200, 300, 40));
  top.add(&bar);
  const hgeQuad& piece = skin->barFill.right->GetQuad();
  const auto isFillEnd = [&piece](const hgeQuad& quad) {
    for (int i = 0; i < 4; ++i)
      if (quad.v[i].tx != piece.v[i].tx || quad.v[i].ty != piece.v[i].ty) return false;
    return quad.tex == piece.tex;
  };
  const struct {
    int value, total;
    float end;
  } cases[] = {{0, 0, 0},     {0, 10, 0},  {-3, 0, 0},  {3, -10, 0}, {-1, 10, 0}, {10, 10, 320},
               {12, 10, 320}, {3, 0, 320}, {1, 2, 170}, {1, 7, 62},  {1, 200, 21}};
  for (const auto& c : cases) {
    bar.value = c.value;
    bar.total = c.total;
    GlowLines();  // draws
    float end = 0;
    for (const hgeQuad& quad : engine->quads)
      if (isFillEnd(quad)) end = quad.v[2].x;
    EXPECT_FLOAT_EQ(end, c.end) << c.value << " of " << c.total;
  }
  bar.value = 1, bar.total = 3;
  EXPECT_FLOAT_EQ(bar.getProgress(), 100.0f / 3);
  bar.value = 0, bar.total = 0;
  EXPECT_FLOAT_EQ(bar.getProgress(), 0);
}

}  // namespace
