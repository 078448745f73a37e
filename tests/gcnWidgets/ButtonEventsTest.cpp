#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wButton.h"

namespace widgettest {
namespace {

class ButtonEvents : public WidgetTest {
 protected:
  ButtonEvents() : button(skin.get(), "Next") {
    button.setDimension(gcn::Rectangle(100, 100, 120, 30));
    top.add(&button);
    button.addActionListener(&clicks);
  }
  SHR::But button;
  ActionCounter clicks;
};

TEST_F(ButtonEvents, ConstructorsSizeFromCaptionAndSpacing) {
  SHR::But captioned(skin.get(), "OK");
  EXPECT_EQ(captioned.getWidth(), font.getWidth("OK") + 8);
  EXPECT_EQ(captioned.getHeight(), 24 + 8);
  EXPECT_TRUE(captioned.isFocusable());
  EXPECT_EQ(captioned.getFrameSize(), 0u);
  EXPECT_EQ(captioned.getAlignment(), gcn::Graphics::CENTER);
  EXPECT_EQ(captioned.getSpacing(), 4u);

  Sprite icon(atlas, 0, 0, 16, 16);
  SHR::But withIcon(skin.get(), &icon);
  EXPECT_EQ(withIcon.getCaption(), "");
  EXPECT_EQ(withIcon.getIcon(), &icon);
  EXPECT_EQ(withIcon.getWidth(), 1 + 8);

  SHR::But bare(skin.get());
  EXPECT_EQ(bare.getIcon(), nullptr);

  captioned.setSpacing(10);
  captioned.setCaption("Longer caption");
  EXPECT_EQ(captioned.getWidth(), font.getWidth("OK") + 8);  // setting a caption does not resize
  captioned.adjustSize();
  EXPECT_EQ(captioned.getWidth(), font.getWidth("Longer caption") + 20);
  EXPECT_EQ(captioned.getHeight(), 24 + 20);
}

TEST_F(ButtonEvents, ClickInsideFiresOnceOnRelease) {
  input.MouseMove(150, 110);
  input.MousePress(150, 110);
  Logic();
  EXPECT_TRUE(button.isPressed());
  EXPECT_EQ(clicks.count, 0);
  input.MouseRelease(150, 110);
  Logic();
  EXPECT_EQ(clicks.count, 1);
  EXPECT_FALSE(button.isPressed());
  // A stray release afterwards sends nothing more.
  input.MouseRelease(150, 110);
  Logic();
  EXPECT_EQ(clicks.count, 1);
}

TEST_F(ButtonEvents, ReleaseOutsideSendsNothingButComingBackDoes) {
  input.MouseMove(150, 110);
  input.MousePress(150, 110);
  input.MouseMove(400, 250);
  Logic();
  EXPECT_FALSE(button.isPressed());  // still held, but the pointer is away
  input.MouseRelease(400, 250);
  Logic();
  EXPECT_EQ(clicks.count, 0);

  input.MouseMove(150, 110);
  input.MousePress(150, 110);
  input.MouseMove(400, 250);
  input.MouseMove(160, 115);
  Logic();
  EXPECT_TRUE(button.isPressed());
  input.MouseRelease(160, 115);
  Logic();
  EXPECT_EQ(clicks.count, 1);
}

TEST_F(ButtonEvents, RightButtonDoesNothing) {
  input.MouseMove(150, 110);
  input.MousePress(150, 110, gcn::MouseInput::RIGHT);
  Logic();
  EXPECT_FALSE(button.isPressed());
  input.MouseRelease(150, 110, gcn::MouseInput::RIGHT);
  Logic();
  EXPECT_EQ(clicks.count, 0);
}

TEST_F(ButtonEvents, RightButtonEventsAreNotConsumed) {
  gcn::MouseEvent right(&button, false, false, false, false, gcn::MouseEvent::PRESSED,
                        gcn::MouseEvent::RIGHT, 5, 5, 1);
  button.mousePressed(right);
  EXPECT_FALSE(right.isConsumed());
  gcn::MouseEvent rightUp(&button, false, false, false, false, gcn::MouseEvent::RELEASED,
                          gcn::MouseEvent::RIGHT, 5, 5, 1);
  button.mouseReleased(rightUp);
  EXPECT_FALSE(rightUp.isConsumed());
  gcn::MouseEvent left(&button, false, false, false, false, gcn::MouseEvent::PRESSED,
                       gcn::MouseEvent::LEFT, 5, 5, 1);
  button.mousePressed(left);
  EXPECT_TRUE(left.isConsumed());
}

TEST_F(ButtonEvents, SpaceAndEnterCountAlike) {
  button.requestFocus();
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  EXPECT_TRUE(button.isPressed());
  EXPECT_EQ(clicks.count, 0);
  input.KeyRelease(gcn::Key::ENTER);
  Logic();
  EXPECT_FALSE(button.isPressed());
  EXPECT_EQ(clicks.count, 1);
  // A release without a press before it sends nothing.
  input.KeyRelease(gcn::Key::ENTER);
  Logic();
  EXPECT_EQ(clicks.count, 1);
  // Other keys leave the button alone.
  input.KeyPress('a');
  input.KeyRelease('a');
  Logic();
  EXPECT_FALSE(button.isPressed());
  EXPECT_EQ(clicks.count, 1);
}

TEST_F(ButtonEvents, FocusLossClearsAPress) {
  SHR::But other(skin.get(), "Back");
  top.add(&other, 300, 100);
  button.requestFocus();
  input.MouseMove(150, 110);
  input.MousePress(150, 110);
  Logic();
  ASSERT_TRUE(button.isPressed());
  other.requestFocus();
  EXPECT_FALSE(button.isPressed());
  input.MouseRelease(150, 110);
  Logic();
  EXPECT_EQ(clicks.count, 0);

  button.requestFocus();
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  ASSERT_TRUE(button.isPressed());
  other.requestFocus();
  EXPECT_FALSE(button.isPressed());
  button.requestFocus();
  input.KeyRelease(gcn::Key::SPACE);
  Logic();
  EXPECT_EQ(clicks.count, 0);
}

}  // namespace
}  // namespace widgettest
