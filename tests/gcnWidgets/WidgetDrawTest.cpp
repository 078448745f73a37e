// Drawing of the check box, text field, progress bar and container, as the
// toolkit graphics and the engine receive it.
#include "WidgetTestSupport.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wProgressBar.h"
#include "gcnWidgets/wTextField.h"

namespace widgettest {
namespace {

using Call = RecordingGraphics::Call;

using CheckBoxDraw = WidgetTest;

TEST_F(CheckBoxDraw, PieceCentredOnTheHeightCaptionRightOfIt) {
  SHR::CBox box(skin.get(), "~y~PID", false);
  box.setForegroundColor(gcn::Color(9, 8, 7));
  top.add(&box, 40, 60);
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
  const auto& calls = graphics.calls;
  std::vector<Call::Kind> kinds;
  for (const Call& call : calls) kinds.push_back(call.kind);
  const std::vector<Call::Kind> expected = {Call::kPush,  // the Gui: the container's area
                                            Call::kFill,  // its background
                                            Call::kPush,  // the container's children area
                                            Call::kPush,  // the box's area
                                            Call::kPop,   // the box drops it for the piece
                                            Call::kPush,  // and takes it again for the caption
                                            Call::kText, Call::kPop, Call::kPop, Call::kPop};
  EXPECT_EQ(kinds, expected);
  ASSERT_EQ(calls.size(), expected.size());
  const Call& text = calls[6];
  EXPECT_EQ(text.text, "~y~PID");
  EXPECT_EQ(text.x1, 16);
  EXPECT_EQ(text.y1, 0);
  EXPECT_EQ(text.x2, gcn::Graphics::LEFT);
  EXPECT_EQ(text.color, gcn::Color(9, 8, 7));
  EXPECT_EQ(text.clip.xOffset, 40);
  EXPECT_EQ(text.clip.yOffset, 60);
  EXPECT_EQ(text.clip.width, box.getWidth());
}

TEST_F(CheckBoxDraw, WithoutASkinOnlyTheCaptionIsDrawn) {
  SHR::CBox box;
  box.setCaption("later");
  box.adjustSize();
  top.add(&box, 0, 0);
  Draw();
  EXPECT_TRUE(engine->Quads().empty());
  EXPECT_EQ(graphics.Of(Call::kText).size(), 1u);
  box.skin = skin.get();
  Draw();
  EXPECT_EQ(engine->Quads().size(), 1u);
}

class TextFieldDraw : public WidgetTest {
 protected:
  TextFieldDraw() {
    field.setDimension(gcn::Rectangle(50, 40, 100, 24));
    field.setForegroundColor(gcn::Color(200, 201, 202));
    top.add(&field);
  }
  SHR::TextField field;
};

TEST_F(TextFieldDraw, FramesInsideAndTextWithoutFocus) {
  field.setText("abc");
  Draw();
  const auto lines = graphics.Of(Call::kLine);
  ASSERT_EQ(lines.size(), 8u);
  const int expected[8][4] = {{0, 0, 100, 0}, {0, 0, 0, 24}, {99, 23, 99, 0}, {100, 23, 0, 23},
                              {1, 1, 98, 1},  {1, 1, 1, 22}, {98, 22, 98, 1}, {99, 22, 1, 22}};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].x1, expected[i][0]);
    EXPECT_EQ(lines[i].y1, expected[i][1]);
    EXPECT_EQ(lines[i].x2, expected[i][2]);
    EXPECT_EQ(lines[i].y2, expected[i][3]);
    EXPECT_EQ(lines[i].color, i < 4 ? gcn::Color(64, 64, 64) : gcn::Color(21, 21, 21));
    EXPECT_EQ(lines[i].clip.xOffset, 50);
  }
  const auto fills = graphics.Of(Call::kFill);
  ASSERT_EQ(fills.size(), 2u);  // the container's background, then the field's inside
  EXPECT_EQ(fills[1].color, gcn::Color(60, 60, 60));
  EXPECT_EQ(fills[1].x2, 100);
  EXPECT_EQ(fills[1].y2, 24);
  EXPECT_EQ(fills[1].clip.x, 52);
  EXPECT_EQ(fills[1].clip.y, 42);
  EXPECT_EQ(fills[1].clip.width, 96);
  EXPECT_EQ(fills[1].clip.height, 20);
  const auto texts = graphics.Of(Call::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "abc");
  EXPECT_EQ(texts[0].x1, 3);
  EXPECT_EQ(texts[0].y1, -3);
  EXPECT_EQ(texts[0].color, gcn::Color(200, 201, 202));
  EXPECT_EQ(texts[0].clip.xOffset, 52);
  // No glow, no caret, no engine clipping.
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(TextFieldDraw, FocusAddsTheGlowAndTheCaret) {
  field.requestFocus();
  field.setText("abc");
  field.setCaretPosition(2);
  Draw();
  const auto glow = engine->Lines();
  ASSERT_EQ(glow.size(), 8u);
  const float ax = 50, ay = 40, w = 100, h = 24;
  const float expected[8][4] = {{ax - 1, ay + 1, ax + w, ay + 1},
                                {ax, ay + h, ax + w, ay + h},
                                {ax + 1, ay + 1, ax + 1, ay + h},
                                {ax + w, ay + 1, ax + w, ay + h},
                                {ax, ay + 1, ax, ay + h},
                                {ax + w + 1, ay, ax + w + 1, ay + h + 1},
                                {ax, ay, ax + w, ay},
                                {ax - 1, ay + h + 1, ax + w, ay + h + 1}};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(glow[i].x1, expected[i][0]);
    EXPECT_EQ(glow[i].y1, expected[i][1]);
    EXPECT_EQ(glow[i].x2, expected[i][2]);
    EXPECT_EQ(glow[i].y2, expected[i][3]);
    EXPECT_EQ(glow[i].color, i < 4 ? 0xFF6CB2FDu : 0xFF55789Du);
    EXPECT_EQ(glow[i].z, 0.5f);
  }
  const auto clips = engine->Clips();
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_EQ(clips[0].x + clips[0].y + clips[0].w + clips[0].h, 0);
  EXPECT_EQ(clips[1].x, 50);
  EXPECT_EQ(clips[1].y, 40);
  EXPECT_EQ(clips[1].w, 98);
  EXPECT_EQ(clips[1].h, 22);
  // The glow comes before the clip that ends it.
  EXPECT_EQ(engine->calls.back().kind, RecordingEngine::Call::kClip);

  const auto lines = graphics.Of(Call::kLine);
  ASSERT_EQ(lines.size(), 9u);
  const Call& caret = lines[8];
  const int caretX = font.getWidth("ab");
  EXPECT_EQ(caret.x1, caretX);
  EXPECT_EQ(caret.x2, caretX);
  EXPECT_EQ(caret.y1, 20 - 2);
  EXPECT_EQ(caret.y2, 1);
  EXPECT_EQ(caret.color, gcn::Color(200, 201, 202));
  EXPECT_EQ(caret.clip.height, 20);
}

TEST_F(TextFieldDraw, ScrolledTextAndCaretMoveLeft) {
  field.requestFocus();
  field.setText(std::string(15, 'x'));
  field.setCaretPosition(15);  // 151 - 100 + 4
  ASSERT_EQ(field.getScroll(), 55);
  Draw();
  EXPECT_EQ(graphics.Of(Call::kText).at(0).x1, 3 - 55);
  EXPECT_EQ(graphics.Of(Call::kLine).at(8).x1, 151 - 55);
}

class ProgressBarDraw : public WidgetTest {
 protected:
  ProgressBarDraw() : bar(skin.get()) {
    bar.setDimension(gcn::Rectangle(20, 200, 300, 40));
    top.add(&bar);
  }
  std::vector<hgeQuad> DrawBar(int value, int total) {
    bar.value = value;
    bar.total = total;
    Draw();
    return engine->Quads();
  }
  SHR::ProgressBar bar;
};

TEST_F(ProgressBarDraw, EmptyShowsTheTrack) {
  for (int total : {0, 10}) {
    const auto quads = DrawBar(0, total);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_TRUE(ShowsPiece(quads[0], *skin->barTrack.left));
    EXPECT_TRUE(Covers(quads[0], 20, 200, 23, 231));  // caps keep their 31 pixels
    EXPECT_TRUE(ShowsPiece(quads[1], *skin->barTrack.middle));
    EXPECT_TRUE(Covers(quads[1], 23, 200, 317, 240));
    EXPECT_TRUE(ShowsPiece(quads[2], *skin->barTrack.right));
    EXPECT_TRUE(Covers(quads[2], 317, 200, 320, 231));
  }
}

TEST_F(ProgressBarDraw, FullAndInfiniteShowTheFill) {
  for (auto [value, total] : {std::pair{10, 10}, std::pair{12, 10}, std::pair{3, 0}}) {
    const auto quads = DrawBar(value, total);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_TRUE(ShowsPiece(quads[0], *skin->barFill.left));
    EXPECT_TRUE(Covers(quads[0], 20, 200, 23, 231));
    EXPECT_TRUE(ShowsPiece(quads[1], *skin->barFill.middle));
    EXPECT_TRUE(Covers(quads[1], 23, 200, 317, 240));
    EXPECT_TRUE(ShowsPiece(quads[2], *skin->barFill.right));
    EXPECT_TRUE(Covers(quads[2], 317, 200, 320, 231));
  }
}

TEST_F(ProgressBarDraw, HalfFillsHalf) {
  const auto quads = DrawBar(1, 2);
  ASSERT_EQ(quads.size(), 5u);
  EXPECT_TRUE(ShowsPiece(quads[0], *skin->barFill.left));
  EXPECT_TRUE(Covers(quads[0], 20, 200, 23, 231));
  EXPECT_TRUE(ShowsPiece(quads[1], *skin->barFill.middle));
  EXPECT_TRUE(Covers(quads[1], 23, 200, 170, 240));
  EXPECT_TRUE(ShowsPiece(quads[2], *skin->barFill.right));
  EXPECT_TRUE(Covers(quads[2], 167, 200, 170, 231));
  EXPECT_TRUE(ShowsPiece(quads[3], *skin->barTrack.middle));
  EXPECT_TRUE(Covers(quads[3], 170, 200, 317, 240));
  EXPECT_TRUE(ShowsPiece(quads[4], *skin->barTrack.right));
  EXPECT_TRUE(Covers(quads[4], 317, 200, 320, 231));
}

TEST_F(ProgressBarDraw, FillWidthRoundsTowardZero) {
  // 300 * 100/7 / 100 = 42.86: 42 pixels.
  const auto quads = DrawBar(1, 7);
  ASSERT_EQ(quads.size(), 5u);
  EXPECT_TRUE(Covers(quads[1], 23, 200, 20 + 42, 240));
  EXPECT_TRUE(Covers(quads[2], 20 + 39, 200, 20 + 42, 231));
  EXPECT_TRUE(Covers(quads[3], 20 + 42, 200, 317, 240));
}

TEST_F(ProgressBarDraw, ATinyFillDrawsNoReversedMiddle) {
  const auto quads = DrawBar(1, 200);  // 1.5 pixels: 1
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_TRUE(ShowsPiece(quads[0], *skin->barFill.left));
  EXPECT_TRUE(ShowsPiece(quads[1], *skin->barFill.right));
  EXPECT_TRUE(Covers(quads[1], 18, 200, 21, 231));
  EXPECT_TRUE(ShowsPiece(quads[2], *skin->barTrack.middle));
  EXPECT_TRUE(Covers(quads[2], 21, 200, 317, 240));
}

TEST_F(ProgressBarDraw, NegativeCountsShowAnEmptyBar) {
  for (auto [value, total] : {std::pair{-3, 0}, std::pair{3, -10}, std::pair{-1, 10}}) {
    const auto quads = DrawBar(value, total);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_TRUE(ShowsPiece(quads[0], *skin->barTrack.left));
  }
}

TEST_F(ProgressBarDraw, PiecesAreTintedWithTheAlpha) {
  bar.setAlpha(0x80);
  for (const hgeQuad& quad : DrawBar(1, 2))
    for (const hgeVertex& vertex : quad.v) EXPECT_EQ(vertex.col, 0x80FFFFFFu);
  bar.setAlpha(255);
  for (const hgeQuad& quad : DrawBar(1, 2))
    for (const hgeVertex& vertex : quad.v) EXPECT_EQ(vertex.col, 0xFFFFFFFFu);
}

using ContenerDraw = WidgetTest;

TEST_F(ContenerDraw, OpaqueFillsBeforeTheChildren) {
  SHR::TextField child;
  child.setDimension(gcn::Rectangle(10, 10, 50, 20));
  top.add(&child);
  Draw();
  const auto fills = graphics.Of(Call::kFill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].color, gcn::Color(77, 77, 77));
  EXPECT_EQ(fills[0].x1, 0);
  EXPECT_EQ(fills[0].y1, 0);
  EXPECT_EQ(fills[0].x2, 600);
  EXPECT_EQ(fills[0].y2, 300);
  EXPECT_EQ(graphics.calls[1].kind, Call::kFill);  // right after the Gui's push

  top.setOpaque(false);
  Draw();
  const auto childOnly = graphics.Of(Call::kFill);
  ASSERT_EQ(childOnly.size(), 1u);
  EXPECT_EQ(childOnly[0].color, gcn::Color(60, 60, 60));
}

}  // namespace
}  // namespace widgettest
