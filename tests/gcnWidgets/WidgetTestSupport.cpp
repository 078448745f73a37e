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
  gui.setTop(&top);
}

WidgetTest::~WidgetTest() {
  gui.setTop(nullptr);
  gcn::Widget::setGlobalFont(nullptr);
}

}  // namespace widgettest
