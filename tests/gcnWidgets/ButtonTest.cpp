#include <guichan/exception.hpp>
#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wButton.h"

namespace widgettest {
namespace {

using Call = RecordingGraphics::Call;

class Button : public WidgetTest {
 protected:
  Button() : button(skin.get(), "Next") {
    button.setDimension(gcn::Rectangle(100, 100, 120, 30));
    top.add(&button);
    button.setForegroundColor(gcn::Color(1, 2, 3));
    button.addActionListener(&clicks);
  }

  // Draws and checks that the three quads are the face's pieces, stretched
  // over the button's full height.
  void ExpectFace(const SHR::cThreePiece& face, const char* look) {
    SCOPED_TRACE(look);
    Draw();
    const auto quads = engine->Quads();
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_TRUE(ShowsPiece(quads[0], *face.left));
    EXPECT_TRUE(ShowsPiece(quads[1], *face.middle));
    EXPECT_TRUE(ShowsPiece(quads[2], *face.right));
    EXPECT_TRUE(Covers(quads[0], 100, 100, 104, 130));
    EXPECT_TRUE(Covers(quads[1], 104, 100, 216, 130));
    EXPECT_TRUE(Covers(quads[2], 216, 100, 220, 130));
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

TEST_F(Button, FacesFollowTheState) {
  ExpectFace(skin->buttonNormal, "normal");
  input.MouseMove(150, 110);
  Logic();
  ExpectFace(skin->buttonHover, "hover");
  Press(150, 110);
  ExpectFace(skin->buttonPressed, "pressed");
  // Held down and disabled: the press wins.
  button.setEnabled(false);
  ExpectFace(skin->buttonPressed, "pressed");
  input.MouseMove(400, 250);
  Logic();
  ExpectFace(skin->buttonDisabled, "disabled");
  // The toolkit hands a disabled widget no release: enabled again, it gets it.
  button.setEnabled(true);
  Release(400, 250);
  ExpectFace(skin->buttonNormal, "normal");
  EXPECT_FALSE(button.isPressed());
  button.requestFocus();
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  ExpectFace(skin->buttonPressed, "pressed");
}

TEST_F(Button, FaceIsUnclippedThenTheClipAreaReturns) {
  Draw();
  const auto& calls = engine->calls;
  ASSERT_EQ(calls.size(), 5u);
  ASSERT_EQ(calls[0].kind, RecordingEngine::Call::kClip);
  EXPECT_EQ(calls[0].clip.x + calls[0].clip.y + calls[0].clip.w + calls[0].clip.h, 0);
  ASSERT_EQ(calls[4].kind, RecordingEngine::Call::kClip);
  EXPECT_EQ(calls[4].clip.x, 100);
  EXPECT_EQ(calls[4].clip.y, 100);
  EXPECT_EQ(calls[4].clip.w, 120);
  EXPECT_EQ(calls[4].clip.h, 30);

  // A button half outside its parent gets the parent's cut of its area back.
  button.setX(550);
  Draw();
  const auto clips = engine->Clips();
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_EQ(clips[1].x, 550);
  EXPECT_EQ(clips[1].w, 50);
  EXPECT_TRUE(Covers(engine->Quads()[2], 666, 100, 670, 130));  // the face is not cut

  // Entirely clipped away: it stays hidden instead of opening the whole window.
  button.setX(700);
  Draw();
  const auto hidden = engine->Clips();
  ASSERT_EQ(hidden.size(), 2u);
  EXPECT_TRUE(hidden[1].w <= 0 || hidden[1].h <= 0);
  EXPECT_FALSE(hidden[1].x == 0 && hidden[1].y == 0 && hidden[1].w == 0 && hidden[1].h == 0);
}

TEST_F(Button, CaptionCentredOffsetWhenPressedAlignedWithTheSpacing) {
  Draw();
  auto texts = graphics.Of(Call::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "Next");
  EXPECT_EQ(texts[0].x1, 60);
  EXPECT_EQ(texts[0].y1, 30 / 2 - 24 / 2);
  EXPECT_EQ(texts[0].x2, gcn::Graphics::CENTER);
  EXPECT_EQ(texts[0].color, gcn::Color(1, 2, 3));
  ASSERT_EQ(font.drawn.size(), 1u);
  EXPECT_EQ(font.drawn[0].x, 60 - font.getWidth("Next") / 2);  // the toolkit centres around x

  Press(150, 110);
  Draw();
  texts = graphics.Of(Call::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].x1, 61);
  EXPECT_EQ(texts[0].y1, 4);
  Release(150, 110);

  button.setAlignment(gcn::Graphics::LEFT);
  Draw();
  EXPECT_EQ(graphics.Of(Call::kText).at(0).x1, 4);
  button.setAlignment(gcn::Graphics::RIGHT);
  button.setSpacing(7);
  Draw();
  EXPECT_EQ(graphics.Of(Call::kText).at(0).x1, 120 - 7);
  EXPECT_EQ(font.drawn.back().x, 113 - font.getWidth("Next"));

  button.setAlignment(static_cast<gcn::Graphics::Alignment>(3));
  try {
    Draw();
    FAIL() << "no exception";
  } catch (const gcn::Exception& e) {
    EXPECT_EQ(e.getMessage(), "Unknown alignment.");
  }
}

TEST_F(Button, IconReplacesTheCaption) {
  Sprite icon(atlas, 10, 20, 16, 16);
  SHR::But iconButton(skin.get(), &icon);
  EXPECT_EQ(iconButton.getWidth(), 1 + 8);  // sized from the empty caption
  iconButton.setDimension(gcn::Rectangle(10, 10, 40, 33));
  top.add(&iconButton);
  top.remove(&button);
  Draw();
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_TRUE(ShowsPiece(quads[3], icon));
  EXPECT_TRUE(Covers(quads[3], 10, 10, 26, 26));
  EXPECT_TRUE(graphics.Of(Call::kText).empty());
  const auto clips = engine->Clips();
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_EQ(clips[1].x, 10);
  EXPECT_EQ(clips[1].w, 40);
}

TEST_F(Button, SizeFollowsCaptionAndSpacingOnlyWhenAdjusted) {
  SHR::But captioned(skin.get(), "OK");
  EXPECT_EQ(captioned.getWidth(), font.getWidth("OK") + 8);
  EXPECT_EQ(captioned.getHeight(), 24 + 8);
  captioned.setSpacing(10);
  captioned.setCaption("Longer caption");
  EXPECT_EQ(captioned.getWidth(), font.getWidth("OK") + 8);
  captioned.adjustSize();
  EXPECT_EQ(captioned.getWidth(), font.getWidth("Longer caption") + 20);
  EXPECT_EQ(captioned.getHeight(), 24 + 20);
}

TEST_F(Button, ClickFiresOnceOnReleaseInside) {
  Press(150, 110);
  EXPECT_TRUE(button.isPressed());
  EXPECT_EQ(clicks.count, 0);
  Release(150, 110);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_FALSE(button.isPressed());
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
  Logic();
  EXPECT_TRUE(button.isPressed());
  Release(160, 115);
  EXPECT_EQ(clicks.count, 2);

  // The right button neither presses nor clicks, and its events go on to others.
  Press(150, 110, gcn::MouseInput::RIGHT);
  EXPECT_FALSE(button.isPressed());
  Release(150, 110, gcn::MouseInput::RIGHT);
  EXPECT_EQ(clicks.count, 2);
  for (unsigned type : {gcn::MouseEvent::PRESSED, gcn::MouseEvent::RELEASED}) {
    gcn::MouseEvent right(&button, false, false, false, false, type, gcn::MouseEvent::RIGHT, 5, 5,
                          1);
    type == gcn::MouseEvent::PRESSED ? button.mousePressed(right) : button.mouseReleased(right);
    EXPECT_FALSE(right.isConsumed()) << type;
  }
  gcn::MouseEvent left(&button, false, false, false, false, gcn::MouseEvent::PRESSED,
                       gcn::MouseEvent::LEFT, 5, 5, 1);
  button.mousePressed(left);
  EXPECT_TRUE(left.isConsumed());
}

TEST_F(Button, KeysAndFocus) {
  // Space and Enter count alike; a release without a press, or other keys, do nothing.
  button.requestFocus();
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  EXPECT_TRUE(button.isPressed());
  EXPECT_EQ(clicks.count, 0);
  input.KeyRelease(gcn::Key::ENTER);
  Logic();
  EXPECT_FALSE(button.isPressed());
  EXPECT_EQ(clicks.count, 1);
  input.KeyRelease(gcn::Key::ENTER);
  input.KeyPress('a');
  input.KeyRelease('a');
  Logic();
  EXPECT_FALSE(button.isPressed());
  EXPECT_EQ(clicks.count, 1);

  // Losing the focus clears a press by mouse or by key.
  SHR::But other(skin.get(), "Back");
  top.add(&other, 300, 100);
  button.requestFocus();
  Press(150, 110);
  ASSERT_TRUE(button.isPressed());
  other.requestFocus();
  EXPECT_FALSE(button.isPressed());
  Release(150, 110);
  button.requestFocus();
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  ASSERT_TRUE(button.isPressed());
  other.requestFocus();
  EXPECT_FALSE(button.isPressed());
  button.requestFocus();
  input.KeyRelease(gcn::Key::SPACE);
  Logic();
  EXPECT_EQ(clicks.count, 1);
}

}  // namespace
}  // namespace widgettest
