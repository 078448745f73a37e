// Check box drawn from the skin; every toggle, by mouse or key, is sent as one
// action event.
#pragma once

#include <guichan/keylistener.hpp>
#include <guichan/mouselistener.hpp>
#include <guichan/widget.hpp>
#include <string>

namespace SHR {

struct cSkin;

class CBox : public gcn::Widget, public gcn::MouseListener, public gcn::KeyListener {
 public:
  CBox(cSkin* skin, const std::string& caption, bool selected = false);
  // The creator sets skin before the first draw and sizes the box.
  CBox();
  ~CBox() override;

  bool isSelected() const { return mSelected; }
  // Sends no event.
  void setSelected(bool selected) { mSelected = selected; }
  const std::string& getCaption() const { return mCaption; }
  // Does not resize.
  void setCaption(const std::string& caption) { mCaption = caption; }
  // Font height high; caption width plus the 16 pixels of the box wide.
  void adjustSize();

  void draw(gcn::Graphics* graphics) override;

  void keyPressed(gcn::KeyEvent& keyEvent) override;
  void mouseClicked(gcn::MouseEvent& mouseEvent) override;
  void mouseDragged(gcn::MouseEvent& mouseEvent) override;
  // Flips the state and tells the action listeners.
  virtual void toggleSelected();

 private:
  void Init();

  bool mSelected = false;
  std::string mCaption;

 public:
  cSkin* skin = nullptr;
};

}  // namespace SHR
