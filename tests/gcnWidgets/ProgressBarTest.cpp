// Drawing of the progress bar and the container, as the engine and the
// toolkit graphics receive it.
#include "WidgetTestSupport.h"
#include "gcnWidgets/wProgressBar.h"
#include "gcnWidgets/wTextField.h"

namespace widgettest {
namespace {

using Call = RecordingGraphics::Call;

// The bar is 300x40 at (20, 200); its caps keep their 31 pixels, the middles
// take the full height.
class ProgressBarDraw : public WidgetTest {
 protected:
  ProgressBarDraw() : bar(skin.get()) {
    bar.setDimension(gcn::Rectangle(20, 200, 300, 40));
    top.add(&bar);
  }
  struct Expected {
    const Sprite* piece;
    float x1, x2;  // the caps end at 231, the middles at 240
  };
  void ExpectBar(int value, int total, const std::vector<Expected>& pieces) {
    SCOPED_TRACE(std::to_string(value) + " of " + std::to_string(total));
    bar.value = value;
    bar.total = total;
    Draw();
    const auto quads = engine->Quads();
    ASSERT_EQ(quads.size(), pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const Expected& e = pieces[i];
      const bool middle =
          e.piece == skin->barFill.middle.get() || e.piece == skin->barTrack.middle.get();
      EXPECT_TRUE(ShowsPiece(quads[i], *e.piece)) << i;
      EXPECT_TRUE(Covers(quads[i], e.x1, 200, e.x2, middle ? 240 : 231)) << i;
    }
  }
  SHR::ProgressBar bar;
};

TEST_F(ProgressBarDraw, FillCoversItsShareOfTheTrack) {
  const SHR::cThreePiece &fill = skin->barFill, &track = skin->barTrack;
  const std::vector<Expected> empty = {
      {track.left.get(), 20, 23}, {track.middle.get(), 23, 317}, {track.right.get(), 317, 320}};
  const std::vector<Expected> full = {
      {fill.left.get(), 20, 23}, {fill.middle.get(), 23, 317}, {fill.right.get(), 317, 320}};
  // Negative counts show an empty bar; more done than there is, or nothing
  // to count, a full one.
  for (auto [value, total] : {std::pair{0, 0}, {0, 10}, {-3, 0}, {3, -10}, {-1, 10}})
    ExpectBar(value, total, empty);
  for (auto [value, total] : {std::pair{10, 10}, {12, 10}, {3, 0}}) ExpectBar(value, total, full);
  ExpectBar(1, 2,
            {{fill.left.get(), 20, 23},
             {fill.middle.get(), 23, 170},
             {fill.right.get(), 167, 170},
             {track.middle.get(), 170, 317},
             {track.right.get(), 317, 320}});
  // 300 * 100/7 / 100 = 42.86: the fill rounds toward zero.
  ExpectBar(1, 7,
            {{fill.left.get(), 20, 23},
             {fill.middle.get(), 23, 62},
             {fill.right.get(), 59, 62},
             {track.middle.get(), 62, 317},
             {track.right.get(), 317, 320}});
  // 1.5 pixels: 1, and no reversed middle.
  ExpectBar(1, 200,
            {{fill.left.get(), 20, 23},
             {fill.right.get(), 18, 21},
             {track.middle.get(), 21, 317},
             {track.right.get(), 317, 320}});
}

TEST_F(ProgressBarDraw, PiecesAreTintedWithTheAlpha) {
  bar.value = 1;
  bar.total = 2;
  for (std::uint32_t alpha : {0x80u, 0xFFu}) {
    bar.setAlpha(static_cast<std::uint8_t>(alpha));
    Draw();
    for (const hgeQuad& quad : engine->Quads())
      for (const hgeVertex& vertex : quad.v) EXPECT_EQ(vertex.col, alpha << 24 | 0xFFFFFFu);
  }
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
