#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wCheckBox.h"

namespace widgettest {
namespace {

class CheckBox : public WidgetTest {
 protected:
  CheckBox() : box(skin.get(), "") {
    top.add(&box, 40, 60);
    box.addActionListener(&toggles);
  }
  SHR::CBox box;
  ActionCounter toggles;
};

TEST_F(CheckBox, LeftClickToggles) {
  input.MouseMove(45, 70);
  input.MousePress(45, 70);
  input.MouseRelease(45, 70);
  Logic();
  EXPECT_TRUE(box.isSelected());
  EXPECT_EQ(toggles.count, 1);
  // The right button, and a release elsewhere, change nothing.
  input.MousePress(45, 70, gcn::MouseInput::RIGHT);
  input.MouseRelease(45, 70, gcn::MouseInput::RIGHT);
  input.MousePress(45, 70);
  input.MouseMove(300, 200);
  input.MouseRelease(300, 200);
  Logic();
  EXPECT_TRUE(box.isSelected());
  EXPECT_EQ(toggles.count, 1);
}

TEST_F(CheckBox, EnterAndSpaceToggleWithFocusWhichIsShown) {
  Draw();
  EXPECT_EQ(GlowLines(), 0);
  box.requestFocus();
  input.KeyPress(gcn::Key::ENTER);
  Logic();
  EXPECT_TRUE(box.isSelected());
  input.KeyPress(gcn::Key::SPACE);
  input.KeyPress('x');
  Logic();
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(toggles.count, 2);
  Draw();
  EXPECT_GT(GlowLines(), 0);
}

}  // namespace
}  // namespace widgettest
