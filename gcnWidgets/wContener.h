// The container every screen builds its widgets into: a flat grey background
// when opaque, then the children.
#pragma once

#include <guichan/basiccontainer.hpp>
#include <string>

namespace SHR {

class Contener : public gcn::BasicContainer {
 public:
  Contener();
  ~Contener() override;

  void setOpaque(bool opaque) { mOpaque = opaque; }
  bool isOpaque() const { return mOpaque; }

  void draw(gcn::Graphics* graphics) override;

  void remove(gcn::Widget* widget) override;
  void clear() override;
  gcn::Widget* findWidgetById(const std::string& id) override;
  // The container does not own its children.
  virtual void add(gcn::Widget* widget);
  virtual void add(gcn::Widget* widget, int x, int y);

 private:
  bool mOpaque = true;
};

}  // namespace SHR
