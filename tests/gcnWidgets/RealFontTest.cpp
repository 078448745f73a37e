// The kit with the font the program carries: the sizes the screens rely on.
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
  EXPECT_EQ(SHR::But(skin.get(), "Next").getHeight(), 32);
  EXPECT_EQ(SHR::TextField("C:\\CLAW.REZ").getHeight(), 28);
  SHR::CBox box(skin.get(), "");
  EXPECT_EQ(box.getWidth(), 17);
  EXPECT_EQ(box.getHeight(), 24);
}

}  // namespace
}  // namespace widgettest
