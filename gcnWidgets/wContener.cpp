#include "gcnWidgets/wContener.h"

#include <guichan/exception.hpp>
#include <guichan/graphics.hpp>

namespace SHR {

namespace {
const gcn::Color kBackground(77, 77, 77);
}

Contener::Contener() = default;

Contener::~Contener() = default;

void Contener::draw(gcn::Graphics* graphics) {
  if (mOpaque) {
    graphics->setColor(kBackground);
    graphics->fillRectangle(gcn::Rectangle(0, 0, getWidth(), getHeight()));
  }
  drawChildren(graphics);
}

void Contener::add(gcn::Widget* widget) {
  gcn::BasicContainer::add(widget);
}

void Contener::add(gcn::Widget* widget, int x, int y) {
  widget->setPosition(x, y);
  add(widget);
}

void Contener::remove(gcn::Widget* widget) {
  for (auto it = mWidgets.begin(); it != mWidgets.end(); ++it) {
    if (*it != widget) continue;
    mWidgets.erase(it);
    widget->_setFocusHandler(nullptr);
    widget->_setParent(nullptr);
    widget->removeDeathListener(this);
    return;
  }
  throw GCN_EXCEPTION("There is no such widget in this container.");
}

void Contener::clear() {
  gcn::BasicContainer::clear();
}

gcn::Widget* Contener::findWidgetById(const std::string& id) {
  return gcn::BasicContainer::findWidgetById(id);
}

}  // namespace SHR
