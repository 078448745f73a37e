// The GUI every wizard screen builds in Init: a gcn::Gui over the shared
// adapters with one full-window container as its top widget.
#pragma once

#include <memory>

namespace gcn {
class Gui;
}
namespace SHR {
class Contener;
}
struct AppContext;

void MakeScreenGui(AppContext& app, std::unique_ptr<gcn::Gui>& gui,
                   std::unique_ptr<SHR::Contener>& top);
