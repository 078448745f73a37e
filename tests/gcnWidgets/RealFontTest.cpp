// The kit with the font the program carries: the sizes the screens rely on.
#include <guichan/key.hpp>

#include "WidgetTestSupport.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wTextField.h"
#include "platform/Resources.h"
#include "text/BitmapFont.h"
#include "text/HGEImageFont.h"

namespace widgettest {
namespace {

class RealFont : public WidgetTest {
 protected:
  void SetUp() override {
    const auto image = platform::FindResource("Myriad20", "PNG");
    const auto descriptor = platform::FindResource("Myriad20", "FNT");
    ASSERT_TRUE(image && descriptor);
    const HTEXTURE texture = engine->Texture_Load(reinterpret_cast<const char*>(image->data),
                                                  static_cast<std::uint32_t>(image->size), false);
    programFont =
        std::make_unique<BitmapFont>(reinterpret_cast<const char*>(descriptor->data),
                                     static_cast<std::uint32_t>(descriptor->size), texture, true);
    SHR::AttachFonts(*skin, programFont.get());
    gcn::Widget::setGlobalFont(skin->guiFonts[0].get());
  }
  void TearDown() override { gcn::Widget::setGlobalFont(&font); }

  std::unique_ptr<BitmapFont> programFont;
};

TEST_F(RealFont, SkinCarriesThreeAdaptersOverTheOneFont) {
  for (const auto& adapter : skin->guiFonts) {
    const auto* imageFont = dynamic_cast<const gcn::HGEImageFont*>(adapter.get());
    ASSERT_NE(imageFont, nullptr);
    EXPECT_EQ(imageFont->getFont(), programFont.get());
  }
  EXPECT_NE(skin->guiFonts[0].get(), skin->guiFonts[1].get());
  skin.reset();  // the adapters do not own the font
  EXPECT_FLOAT_EQ(programFont->GetHeight(), 24);
}

TEST_F(RealFont, SizesTheScreensRelyOn) {
  SHR::But button(skin.get(), "Next");
  EXPECT_EQ(button.getHeight(), 32);
  SHR::TextField field("C:\\CLAW.REZ");
  EXPECT_EQ(field.getHeight(), 28);
  SHR::CBox box(skin.get(), "");
  EXPECT_EQ(box.getWidth(), 17);
  EXPECT_EQ(box.getHeight(), 24);
}

TEST_F(RealFont, TypingIntoA100PixelFieldScrollsAtTheRightEdge) {
  SHR::TextField field;
  field.setDimension(gcn::Rectangle(0, 0, 100, 24));
  top.add(&field);
  field.requestFocus();
  gcn::Font* measure = skin->guiFonts[0].get();
  std::string typed;
  int scrolledAt = -1;
  for (int i = 0; i < 40 && scrolledAt < 0; ++i) {
    input.KeyPress('m');
    Logic();
    typed += 'm';
    if (field.getScroll() > 0) scrolledAt = static_cast<int>(typed.size());
  }
  ASSERT_GT(scrolledAt, 1);
  // The first character that scrolls is the one that brings the caret to 96.
  EXPECT_GE(measure->getWidth(typed), 96);
  EXPECT_LT(measure->getWidth(typed.substr(0, typed.size() - 1)), 96);
  EXPECT_EQ(field.getScroll(), measure->getWidth(typed) - 100 + 4);
  input.KeyPress(gcn::Key::HOME);
  Logic();
  EXPECT_EQ(field.getScroll(), 0);
  EXPECT_EQ(field.getCaretPosition(), 0u);
}

}  // namespace
}  // namespace widgettest
