#include "app/ScreenGui.h"

#include <guichan/gui.hpp>

#include "app/AppContext.h"
#include "gcnWidgets/wContener.h"
#include "platform/HGEGraphics.h"
#include "platform/HGEInput.h"

void MakeScreenGui(AppContext& app, std::unique_ptr<gcn::Gui>& gui,
                   std::unique_ptr<SHR::Contener>& top) {
  gui = std::make_unique<gcn::Gui>();
  gui->setGraphics(app.guiGraphics.get());
  gui->setInput(app.guiInput.get());
  top = std::make_unique<SHR::Contener>();
  top->setDimension(gcn::Rectangle(0, 0, app.ScreenWidth(), app.ScreenHeight()));
  gui->setTop(top.get());
}
