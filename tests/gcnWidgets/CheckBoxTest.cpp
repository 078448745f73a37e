#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wCheckBox.h"

namespace widgettest {
namespace {

using Call = RecordingGraphics::Call;

class CheckBox : public WidgetTest {
 protected:
  CheckBox() : box(skin.get(), "") {
    top.add(&box, 40, 60);
    box.addActionListener(&toggles);
  }
  SHR::CBox box;
  ActionCounter toggles;
};

TEST_F(CheckBox, SizedFromTheCaptionOnlyWhenAdjusted) {
  EXPECT_EQ(box.getWidth(), 1 + 16);
  EXPECT_EQ(box.getHeight(), 24);
  SHR::CBox ticked(skin.get(), "PID", true);
  EXPECT_TRUE(ticked.isSelected());
  EXPECT_EQ(ticked.getWidth(), font.getWidth("PID") + 16);
  SHR::CBox later;
  later.setCaption("Extract");
  later.adjustSize();
  EXPECT_EQ(later.getWidth(), font.getWidth("Extract") + 16);
  later.setCaption("x");
  EXPECT_EQ(later.getWidth(), font.getWidth("Extract") + 16);
}

TEST_F(CheckBox, PieceCentredOnTheHeightCaptionRightOfIt) {
  box.setCaption("~y~PID");
  box.adjustSize();
  box.setForegroundColor(gcn::Color(9, 8, 7));
  for (int height : {24, 25, 13}) {
    SCOPED_TRACE(height);
    box.setHeight(height);
    Draw();
    const auto quads = engine->Quads();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_TRUE(ShowsPiece(quads[0], *skin->checkBoxOff));
    EXPECT_TRUE(Covers(quads[0], 40, 60 + height / 2 - 6, 53, 60 + height / 2 - 6 + 13));
  }
  box.setSelected(true);
  box.setHeight(24);
  Draw();
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_TRUE(ShowsPiece(quads[0], *skin->checkBoxOn));
  EXPECT_TRUE(Covers(quads[0], 40, 66, 54, 79));

  // The box's own clip area is popped for the piece and pushed again for the
  // caption; the container's pop then balances it.
  std::vector<Call::Kind> kinds;
  for (const Call& call : graphics.calls) kinds.push_back(call.kind);
  const std::vector<Call::Kind> expected = {Call::kPush,  // the Gui: the container's area
                                            Call::kFill,  // its background
                                            Call::kPush,  // the container's children area
                                            Call::kPush,  // the box's area
                                            Call::kPop,   // the box drops it for the piece
                                            Call::kPush,  // and takes it again for the caption
                                            Call::kText, Call::kPop, Call::kPop, Call::kPop};
  ASSERT_EQ(kinds, expected);
  const Call& text = graphics.calls[6];
  EXPECT_EQ(text.text, "~y~PID");
  EXPECT_EQ(text.x1, 16);
  EXPECT_EQ(text.y1, 0);
  EXPECT_EQ(text.x2, gcn::Graphics::LEFT);
  EXPECT_EQ(text.color, gcn::Color(9, 8, 7));
  EXPECT_EQ(text.clip.xOffset, 40);
  EXPECT_EQ(text.clip.yOffset, 60);
  EXPECT_EQ(text.clip.width, box.getWidth());

  // Without a skin only the caption is drawn.
  box.skin = nullptr;
  Draw();
  EXPECT_TRUE(engine->Quads().empty());
  EXPECT_EQ(graphics.Of(Call::kText).size(), 1u);
}

TEST_F(CheckBox, LeftClickTogglesAndTellsEveryListenerInOrder) {
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
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(toggles.count, 2);

  // The right button, and a release elsewhere, change nothing.
  input.MousePress(45, 70, gcn::MouseInput::RIGHT);
  input.MouseRelease(45, 70, gcn::MouseInput::RIGHT);
  input.MousePress(45, 70);
  input.MouseMove(300, 200);
  input.MouseRelease(300, 200);
  Logic();
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(toggles.count, 2);

  box.setSelected(true);  // no event
  EXPECT_EQ(toggles.count, 2);
  box.toggleSelected();  // one event
  EXPECT_FALSE(box.isSelected());
  EXPECT_EQ(toggles.count, 3);
}

TEST_F(CheckBox, EnterAndSpaceToggleAndAreConsumed) {
  struct Global : gcn::KeyListener {
    void keyPressed(gcn::KeyEvent& event) override { unconsumed += !event.isConsumed(); }
    int unconsumed = 0;
  } global;
  top.addKeyListener(&global);  // the container sees what the box leaves
  box.requestFocus();
  input.KeyPress(gcn::Key::ENTER);
  Logic();
  EXPECT_TRUE(box.isSelected());
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

}  // namespace
}  // namespace widgettest
