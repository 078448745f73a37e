#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wCheckBox.h"

namespace widgettest {
namespace {

class CheckBoxEvents : public WidgetTest {
 protected:
  CheckBoxEvents() : box(skin.get(), "") {
    top.add(&box, 40, 60);
    box.addActionListener(&toggles);
  }
  SHR::CBox box;
  ActionCounter toggles;
};

TEST_F(CheckBoxEvents, ConstructorsAndSize) {
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(box.getWidth(), 1 + 16);
  EXPECT_EQ(box.getHeight(), 24);
  EXPECT_TRUE(box.isFocusable());
  EXPECT_EQ(box.skin, skin.get());

  SHR::CBox ticked(skin.get(), "PID", true);
  EXPECT_TRUE(ticked.isSelected());
  EXPECT_EQ(ticked.getWidth(), font.getWidth("PID") + 16);

  SHR::CBox later;
  EXPECT_EQ(later.skin, nullptr);
  EXPECT_EQ(later.getCaption(), "");
  EXPECT_FALSE(later.isSelected());
  later.setCaption("Extract");
  later.adjustSize();
  EXPECT_EQ(later.getWidth(), font.getWidth("Extract") + 16);
  later.setCaption("x");
  EXPECT_EQ(later.getWidth(), font.getWidth("Extract") + 16);  // no resize
}

TEST_F(CheckBoxEvents, LeftClickTogglesAndTellsEveryListenerInOrder) {
  std::vector<int> order;
  struct Recorder : gcn::ActionListener {
    Recorder(std::vector<int>& order, int id) : order(order), id(id) {}
    void action(const gcn::ActionEvent& event) override {
      EXPECT_EQ(event.getId(), "types");
      order.push_back(id);
    }
    std::vector<int>& order;
    int id;
  } first(order, 1), second(order, 2);
  box.setActionEventId("types");
  box.addActionListener(&first);
  box.addActionListener(&second);

  input.MouseMove(45, 70);
  input.MousePress(45, 70);
  input.MouseRelease(45, 70);
  Logic();
  EXPECT_TRUE(box.isSelected());
  EXPECT_EQ(toggles.count, 1);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));

  input.MousePress(45, 70);
  input.MouseRelease(45, 70);
  Logic();
  EXPECT_FALSE(box.isSelected());  // two toggles leave it as it was
  EXPECT_EQ(toggles.count, 2);
}

TEST_F(CheckBoxEvents, RightClickAndReleaseElsewhereChangeNothing) {
  input.MouseMove(45, 70);
  input.MousePress(45, 70, gcn::MouseInput::RIGHT);
  input.MouseRelease(45, 70, gcn::MouseInput::RIGHT);
  Logic();
  EXPECT_FALSE(box.isSelected());
  input.MousePress(45, 70);
  input.MouseMove(300, 200);
  input.MouseRelease(300, 200);
  Logic();
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(toggles.count, 0);
}

TEST_F(CheckBoxEvents, EnterAndSpaceToggleAndAreConsumed) {
  struct Global : gcn::KeyListener {
    void keyPressed(gcn::KeyEvent& event) override {
      if (!event.isConsumed()) ++unconsumed;
    }
    int unconsumed = 0;
  } global;
  top.addKeyListener(&global);  // the container sees what the box leaves
  box.requestFocus();
  input.KeyPress(gcn::Key::ENTER);
  Logic();
  EXPECT_TRUE(box.isSelected());
  EXPECT_EQ(toggles.count, 1);
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(toggles.count, 2);
  EXPECT_EQ(global.unconsumed, 0);
  input.KeyPress('x');
  Logic();
  EXPECT_EQ(toggles.count, 2);
  EXPECT_EQ(global.unconsumed, 1);
  top.removeKeyListener(&global);
}

TEST_F(CheckBoxEvents, SetSelectedSendsNoEvent) {
  box.setSelected(true);
  EXPECT_TRUE(box.isSelected());
  box.toggleSelected();
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(toggles.count, 1);
}

}  // namespace
}  // namespace widgettest
