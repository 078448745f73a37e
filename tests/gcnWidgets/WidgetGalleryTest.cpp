// Renders every widget of the kit in every state, with the real skin and
// font, into one picture. With TARNWICK_GALLERY_PATH set the picture is
// written there (docs/widget-gallery.png is made this way); otherwise into a
// scratch folder, so that the test always proves it can be made.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <guichan/key.hpp>

#include "PixelSupport.h"
#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wProgressBar.h"
#include "gcnWidgets/wTextField.h"
#include "platform/Resources.h"
#include "support/TempDir.h"
#include "text/BitmapFont.h"

namespace widgettest {
namespace {

constexpr int kGalleryWidth = 600, kGalleryHeight = 400;
constexpr std::uint32_t kBackground = 0xFF4D4D4D;

class WidgetGallery : public PixelTest {
 protected:
  WidgetGallery() : PixelTest(kGalleryWidth, kGalleryHeight) {}
  void SetUp() override {
    ASSERT_TRUE(screen.Ready()) << screen.Error();
    const HTEXTURE atlas = screen.LoadResource("Main", "PNG");
    const HTEXTURE glyphs = screen.LoadResource("Myriad20", "PNG");
    const auto descriptor = platform::FindResource("Myriad20", "FNT");
    ASSERT_TRUE(atlas && glyphs && descriptor);
    // As start-up builds them.
    font = std::make_unique<BitmapFont>(reinterpret_cast<const char*>(descriptor->data),
                                        static_cast<std::uint32_t>(descriptor->size), glyphs, true);
    skin = SHR::CutSkin(atlas);
    SHR::AttachFonts(*skin, font.get());
    art = SHR::CutScreenArt(atlas);
    gcn::Widget::setGlobalFont(skin->guiFonts[0].get());
  }

  void Label(int x, int y, const char* text) {
    font->SetColor(0xFFFFFFFF);
    font->Render(static_cast<float>(x), static_cast<float>(y), BitmapFont::kLeft, text);
  }
  // Leaves only the given widgets visible, so that input reaches them and a
  // draw covers nothing else (the background was laid by the first pass).
  // Hiding a widget takes its focus, so the shown ones are never hidden.
  void Show(std::initializer_list<gcn::Widget*> shown) {
    for (gcn::Widget* widget : all)
      widget->setVisible(std::find(shown.begin(), shown.end(), widget) != shown.end());
  }
  void Add(gcn::Widget& widget, int x, int y) {
    top.add(&widget, x, y);
    all.push_back(&widget);
  }

  std::unique_ptr<BitmapFont> font;
  std::unique_ptr<SHR::cScreenArt> art;
  std::vector<gcn::Widget*> all;
};

TEST_F(WidgetGallery, EveryWidgetInEveryState) {
  // Buttons: 110x33, the height of the skin pieces, as the screens size them.
  SHR::But normal(skin.get(), "Normal"), hover(skin.get(), "Hover"), pressed(skin.get(), "Pressed"),
      disabled(skin.get(), "Disabled"), coloured(skin.get(), "~y~Yellow~w~ code");
  SHR::But* buttons[] = {&normal, &hover, &pressed, &disabled, &coloured};
  for (int i = 0; i < 5; ++i) {
    buttons[i]->setSize(110, 33);
    Add(*buttons[i], 10 + 116 * i, 48);
  }
  disabled.setEnabled(false);
  SHR::But iconButton(skin.get(), art->infoIcon.get());
  iconButton.setSize(33, 33);
  Add(iconButton, 300, 298);

  // Check boxes as step 2 makes them, and with captions.
  SHR::CBox off(skin.get(), ""), on(skin.get(), "", true), captionOff(skin.get(), "PID images"),
      captionOn(skin.get(), "~y~WAV~w~ sounds", true);
  Add(off, 10, 112);
  Add(on, 60, 112);
  Add(captionOff, 130, 112);
  Add(captionOn, 300, 112);

  // Text fields 140x24, as step 1 sizes its two.
  const std::string path = "C:\\GAMES\\CLAW\\CLAW.REZ";
  SHR::TextField idle(path), focused("CLAW.REZ"), scrolled, home;
  SHR::TextField* fields[] = {&idle, &focused, &scrolled, &home};
  for (int i = 0; i < 4; ++i) {
    fields[i]->setSize(140, 24);
    Add(*fields[i], 10 + 145 * i, 178);
  }

  // Progress bars 140x31 at 0, 50 and 100 percent and with nothing to count.
  SHR::ProgressBar empty(skin.get()), half(skin.get()), full(skin.get()), infinite(skin.get());
  const std::pair<int, int> counts[] = {{0, 10}, {5, 10}, {10, 10}, {3, 0}};
  SHR::ProgressBar* bars[] = {&empty, &half, &full, &infinite};
  for (int i = 0; i < 4; ++i) {
    bars[i]->value = counts[i].first;
    bars[i]->total = counts[i].second;
    bars[i]->setSize(140, 31);
    Add(*bars[i], 10 + 145 * i, 242);
  }

  screen.Capture([&] {
    // First pass: the opaque container and every widget that needs no input.
    Show({&normal, &disabled, &coloured, &iconButton, &off, &on, &captionOff, &captionOn, &idle,
          &empty, &half, &full, &infinite});
    gui.draw();
    top.setOpaque(false);

    Show({&hover});
    input.MouseMove(10 + 116 + 50, 60);
    gui.logic();
    gui.draw();

    Show({&pressed});
    input.MouseMove(10 + 232 + 50, 60);
    input.MousePress(10 + 232 + 50, 60);
    gui.logic();
    gui.draw();
    input.MouseMove(590, 390);
    input.MouseRelease(590, 390);
    gui.logic();

    Show({&focused});
    focused.requestFocus();
    focused.setCaretPosition(4);
    gui.draw();

    Show({&scrolled});
    scrolled.requestFocus();
    for (char c : path) input.KeyPress(static_cast<unsigned char>(c));
    gui.logic();
    gui.draw();

    Show({&home});
    home.requestFocus();
    for (char c : path) input.KeyPress(static_cast<unsigned char>(c));
    input.KeyPress(gcn::Key::HOME);
    gui.logic();
    gui.draw();

    Label(10, 4, "~y~Tarnwick~w~ widget kit: every widget in every state");
    Label(10, 24, "Button: normal, hover, pressed, disabled, colour codes");
    Label(10, 88, "Check box: off, on, with captions");
    Label(10, 154, "Text field: no focus, focus, scrolled after typing, after Home");
    Label(10, 218, "Progress bar: 0 %, 50 %, 100 %, 3 of 0 (full)");
    Label(10, 280, "File-type icons (TypeIconFor)");
    for (int i = 0; i < SHR::cScreenArt::kTypeIconCount; ++i)
      art->typeIcons[i]->Render(static_cast<float>(10 + 24 * i), 306);
    Label(340, 302, "Icon button");
    art->infoIcon->Render(581, 7);
    art->titleLogo->Render(2, kGalleryHeight - 37);
  });

  EXPECT_EQ(idle.getScroll(), 0);
  EXPECT_GT(scrolled.getScroll(), 0);
  EXPECT_EQ(home.getScroll(), 0);
  EXPECT_EQ(home.getCaretPosition(), 0u);
  for (gcn::Widget* widget : all) {
    const gcn::Rectangle& r = widget->getDimension();
    const auto area = screen.Area(r.x, r.y, r.width, r.height);
    EXPECT_TRUE(
        std::any_of(area.begin(), area.end(), [](auto pixel) { return pixel != kBackground; }))
        << "nothing drawn at " << r.x << ", " << r.y;
  }
  // The four faces differ from one another.
  for (int i = 1; i < 4; ++i)
    EXPECT_NE(screen.Area(14, 50, 8, 28), screen.Area(14 + 116 * i, 50, 8, 28)) << i;
  // Only the focused fields glow.
  EXPECT_EQ(screen.At(10 + 140 + 1, 186), kBackground);
  EXPECT_EQ(screen.At(155 + 140 + 1, 186), 0xFF55789Du);

  TempDir scratch;
  const char* wanted = std::getenv("TARNWICK_GALLERY_PATH");
  const std::string out = wanted && *wanted ? wanted : (scratch / "widget-gallery.png").string();
  ASSERT_TRUE(screen.Engine()->SaveCapturedFrame(out)) << out;
  EXPECT_GT(std::filesystem::file_size(out), 1000u);
}

}  // namespace
}  // namespace widgettest
