#include <cmath>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wProgressBar.h"

namespace widgettest {
namespace {

// The bar is 300 wide at x 20. Where the fill ends (the right edge of its last
// piece), or 0 when only the track shows.
class ProgressBarDraw : public WidgetTest {
 protected:
  ProgressBarDraw() : bar(skin.get()) {
    bar.setDimension(gcn::Rectangle(20, 200, 300, 40));
    top.add(&bar);
  }
  float FillEnd(int value, int total) {
    bar.value = value;
    bar.total = total;
    Draw();
    float end = 0;
    for (const hgeQuad& quad : engine->Quads())
      if (ShowsPiece(quad, *skin->barFill.right)) end = quad.v[2].x;
    return end;
  }
  SHR::ProgressBar bar;
};

TEST_F(ProgressBarDraw, FillCoversItsShareRoundedTowardZero) {
  const struct {
    int value, total;
    float end;
  } cases[] = {
      // Negative counts show an empty bar; more done than there is, or
      // something done of nothing, a full one.
      {0, 0, 0},     {0, 10, 0},  {-3, 0, 0},  {3, -10, 0}, {-1, 10, 0}, {10, 10, 320},
      {12, 10, 320}, {3, 0, 320}, {1, 2, 170}, {1, 7, 62},  // 300 / 7 = 42.86 pixels: 42
      {1, 200, 21},                                         // 1.5 pixels: 1
  };
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(FillEnd(c.value, c.total), c.end) << c.value << " of " << c.total;
}

TEST(ProgressBarValue, PercentageOfValueOverTotal) {
  SHR::ProgressBar bar(nullptr);
  const struct {
    int value, total;
    float percent;
  } cases[] = {{0, 0, 0}, {1, 4, 25}, {4, 4, 100}, {1, 3, 100.0f / 3}};
  for (const auto& c : cases) {
    bar.value = c.value;
    bar.total = c.total;  // 0 of 0 is still 0, not a division by zero
    EXPECT_FLOAT_EQ(bar.getProgress(), c.percent) << c.value << " of " << c.total;
  }
  bar.value = 3;
  bar.total = 0;
  EXPECT_TRUE(std::isinf(bar.getProgress()));
}

}  // namespace
}  // namespace widgettest
