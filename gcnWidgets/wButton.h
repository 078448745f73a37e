// Push button drawn from the skin in four looks (normal, hover, disabled,
// pressed). A click is sent as one action event, on the release.
#pragma once

#include <guichan/focuslistener.hpp>
#include <guichan/graphics.hpp>
#include <guichan/keylistener.hpp>
#include <guichan/mouselistener.hpp>
#include <guichan/widget.hpp>
#include <string>

class Sprite;

namespace SHR {

struct cSkin;

class But : public gcn::Widget,
            public gcn::MouseListener,
            public gcn::KeyListener,
            public gcn::FocusListener {
 public:
  But(cSkin* skin, const std::string& caption);
  // Shows the icon instead of a caption.
  But(cSkin* skin, Sprite* icon);
  explicit But(cSkin* skin);
  ~But() override;

  void setCaption(const std::string& caption) { mCaption = caption; }
  const std::string& getCaption() const { return mCaption; }
  void setAlignment(gcn::Graphics::Alignment alignment) { mAlignment = alignment; }
  gcn::Graphics::Alignment getAlignment() const { return mAlignment; }
  void setSpacing(unsigned int spacing) { mSpacing = spacing; }
  unsigned int getSpacing() const { return mSpacing; }
  void setIcon(Sprite* icon) { mIcon = icon; }
  Sprite* getIcon() const { return mIcon; }

  // Caption width plus spacing on both sides; font height plus spacing above and below.
  void adjustSize();
  // Held down by the mouse while the pointer is over it, or by Enter/Space.
  bool isPressed() const;

  void draw(gcn::Graphics* graphics) override;

  void focusLost(const gcn::Event& event) override;
  void mousePressed(gcn::MouseEvent& mouseEvent) override;
  void mouseReleased(gcn::MouseEvent& mouseEvent) override;
  void mouseEntered(gcn::MouseEvent& mouseEvent) override;
  void mouseExited(gcn::MouseEvent& mouseEvent) override;
  void mouseDragged(gcn::MouseEvent& mouseEvent) override;
  void keyPressed(gcn::KeyEvent& keyEvent) override;
  void keyReleased(gcn::KeyEvent& keyEvent) override;

 private:
  void Init();

  cSkin* mSkin;
  std::string mCaption;
  Sprite* mIcon = nullptr;
  bool mHasMouse = false;
  bool mKeyPressed = false;
  bool mMousePressed = false;
  gcn::Graphics::Alignment mAlignment = gcn::Graphics::CENTER;
  unsigned int mSpacing = 4;
};

}  // namespace SHR
