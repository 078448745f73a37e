#include <guichan/exception.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wButton.h"

namespace widgettest {
namespace {

using Call = RecordingGraphics::Call;

class ButtonDraw : public WidgetTest {
 protected:
  ButtonDraw() : button(skin.get(), "Next") {
    button.setDimension(gcn::Rectangle(100, 100, 120, 30));
    top.add(&button);
    button.setForegroundColor(gcn::Color(1, 2, 3));
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

  SHR::But button;
};

TEST_F(ButtonDraw, FacesFollowTheState) {
  ExpectFace(skin->buttonNormal, "normal");
  input.MouseMove(150, 110);
  Logic();
  ExpectFace(skin->buttonHover, "hover");
  input.MousePress(150, 110);
  Logic();
  ExpectFace(skin->buttonPressed, "pressed");
  // Held down and disabled: the press wins.
  button.setEnabled(false);
  ExpectFace(skin->buttonPressed, "pressed");
  input.MouseMove(400, 250);
  Logic();
  ExpectFace(skin->buttonDisabled, "disabled");
  // The toolkit hands a disabled widget no release: enabled again, it gets it.
  button.setEnabled(true);
  input.MouseRelease(400, 250);
  Logic();
  ExpectFace(skin->buttonNormal, "normal");
  EXPECT_FALSE(button.isPressed());
  button.requestFocus();
  input.KeyPress(gcn::Key::SPACE);
  Logic();
  ExpectFace(skin->buttonPressed, "pressed");
}

TEST_F(ButtonDraw, FaceIsUnclippedThenTheClipAreaReturns) {
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

TEST_F(ButtonDraw, CaptionCentredAndOffsetWhenPressed) {
  Draw();
  auto texts = graphics.Of(Call::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "Next");
  EXPECT_EQ(texts[0].x1, 60);
  EXPECT_EQ(texts[0].y1, 30 / 2 - 24 / 2);
  EXPECT_EQ(texts[0].x2, gcn::Graphics::CENTER);
  EXPECT_EQ(texts[0].color, gcn::Color(1, 2, 3));
  // The toolkit centres the text around x.
  ASSERT_EQ(font.drawn.size(), 1u);
  EXPECT_EQ(font.drawn[0].x, 60 - font.getWidth("Next") / 2);

  input.MouseMove(150, 110);
  input.MousePress(150, 110);
  Logic();
  Draw();
  texts = graphics.Of(Call::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].x1, 61);
  EXPECT_EQ(texts[0].y1, 4);
}

TEST_F(ButtonDraw, LeftAndRightAlignmentKeepTheSpacing) {
  button.setAlignment(gcn::Graphics::LEFT);
  Draw();
  EXPECT_EQ(graphics.Of(Call::kText).at(0).x1, 4);
  button.setAlignment(gcn::Graphics::RIGHT);
  button.setSpacing(7);
  Draw();
  EXPECT_EQ(graphics.Of(Call::kText).at(0).x1, 120 - 7);
  EXPECT_EQ(font.drawn.back().x, 113 - font.getWidth("Next"));
}

TEST_F(ButtonDraw, UnknownAlignmentThrows) {
  button.setAlignment(static_cast<gcn::Graphics::Alignment>(3));
  try {
    Draw();
    FAIL() << "no exception";
  } catch (const gcn::Exception& e) {
    EXPECT_EQ(e.getMessage(), "Unknown alignment.");
    EXPECT_NE(e.getFilename().find("wButton"), std::string::npos);
    EXPECT_GT(e.getLine(), 0u);
  }
}

TEST_F(ButtonDraw, IconReplacesTheCaption) {
  Sprite icon(atlas, 10, 20, 16, 16);
  SHR::But iconButton(skin.get(), &icon);
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

}  // namespace
}  // namespace widgettest
