#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wButton.h"

namespace widgettest {
namespace {

class Button : public WidgetTest {
 protected:
  Button() : button(skin.get(), "Next") {
    button.setDimension(gcn::Rectangle(100, 100, 120, 30));
    top.add(&button);
    button.addActionListener(&clicks);
  }
  void Press(int x, int y, unsigned mouseButton = gcn::MouseInput::LEFT) {
    input.MouseMove(x, y);
    input.MousePress(x, y, mouseButton);
    Logic();
  }
  void Release(int x, int y, unsigned mouseButton = gcn::MouseInput::LEFT) {
    input.MouseRelease(x, y, mouseButton);
    Logic();
  }

  SHR::But button;
  ActionCounter clicks;
};

TEST_F(Button, ClickFiresOnceOnReleaseInside) {
  Press(150, 110);
  EXPECT_TRUE(button.isPressed());
  EXPECT_EQ(clicks.count, 0);
  Release(150, 110);
  EXPECT_EQ(clicks.count, 1);
  Release(150, 110);  // a stray release sends nothing more
  EXPECT_EQ(clicks.count, 1);

  // Released outside: nothing; dragged out and back in: a click.
  Press(150, 110);
  input.MouseMove(400, 250);
  Logic();
  EXPECT_FALSE(button.isPressed());  // still held, but the pointer is away
  Release(400, 250);
  EXPECT_EQ(clicks.count, 1);
  Press(150, 110);
  input.MouseMove(400, 250);
  input.MouseMove(160, 115);
  Release(160, 115);
  EXPECT_EQ(clicks.count, 2);

  // The right button neither presses nor clicks.
  Press(150, 110, gcn::MouseInput::RIGHT);
  EXPECT_FALSE(button.isPressed());
  Release(150, 110, gcn::MouseInput::RIGHT);
  EXPECT_EQ(clicks.count, 2);
}

TEST_F(Button, KeysPressWithFocusAndLosingItClearsThePress) {
  button.requestFocus();
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  EXPECT_TRUE(button.isPressed());
  input.KeyRelease(gcn::Key::ENTER);  // Space and Enter count alike
  Logic();
  EXPECT_EQ(clicks.count, 1);
  input.KeyRelease(gcn::Key::ENTER);  // a release without a press
  input.KeyPress('a');
  input.KeyRelease('a');
  Logic();
  EXPECT_EQ(clicks.count, 1);

  SHR::But other(skin.get(), "Back");
  top.add(&other, 300, 100);
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  other.requestFocus();
  EXPECT_FALSE(button.isPressed());
  button.requestFocus();
  input.KeyRelease(gcn::Key::SPACE);
  Logic();
  EXPECT_EQ(clicks.count, 1);
}

TEST_F(Button, FocusIsShownByTheSkinsGlow) {
  Draw();
  EXPECT_EQ(GlowLines(), 0);
  button.requestFocus();
  Draw();
  EXPECT_GT(GlowLines(), 0);
}

}  // namespace
}  // namespace widgettest
