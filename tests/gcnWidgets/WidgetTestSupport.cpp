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

int WidgetTest::GlowLines() const {
  int count = 0;
  for (const auto& line : engine->Lines()) count += line.color == 0xFF6CB2FD;
  return count;
}

}  // namespace widgettest
