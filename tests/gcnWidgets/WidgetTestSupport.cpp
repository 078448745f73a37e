#include "WidgetTestSupport.h"

namespace widgettest {

WidgetTest::WidgetTest() {
  auto recording = std::make_unique<RecordingEngine>();
  engine = recording.get();
  hgeInstall(std::move(recording));
  atlas = engine->AddTexture(512, 512);
  skin = SHR::CutSkin(atlas);
  gcn::Widget::setGlobalFont(&font);
  top.setDimension(gcn::Rectangle(0, 0, 600, 300));
  gui.setInput(&input);
  gui.setGraphics(&graphics);
  gui.setTop(&top);
}

WidgetTest::~WidgetTest() {
  gui.setTop(nullptr);
  gcn::Widget::setGlobalFont(nullptr);
}

bool ShowsPiece(const hgeQuad& quad, const Sprite& piece) {
  const hgeQuad& own = piece.GetQuad();
  if (quad.tex != own.tex) return false;
  for (int i = 0; i < 4; ++i)
    if (quad.v[i].tx != own.v[i].tx || quad.v[i].ty != own.v[i].ty) return false;
  return true;
}

::testing::AssertionResult Covers(const hgeQuad& quad, float x1, float y1, float x2, float y2) {
  const hgeVertex* v = quad.v;
  if (v[0].x == x1 && v[0].y == y1 && v[1].x == x2 && v[1].y == y1 && v[2].x == x2 &&
      v[2].y == y2 && v[3].x == x1 && v[3].y == y2)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "quad covers (" << v[0].x << ", " << v[0].y << ")-(" << v[2].x << ", " << v[2].y
         << "), corners 1 and 3 at (" << v[1].x << ", " << v[1].y << ") and (" << v[3].x << ", "
         << v[3].y << "); expected (" << x1 << ", " << y1 << ")-(" << x2 << ", " << y2 << ")";
}

}  // namespace widgettest
