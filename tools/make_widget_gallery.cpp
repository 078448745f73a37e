// Draws every widget of the kit in every state, with the real skin and font,
// into one picture: docs/widget-gallery.png. Runs on SDL's offscreen driver.
//
//   build/tools/make_widget_gallery docs/widget-gallery.png
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <guichan/font.hpp>
#include <guichan/gui.hpp>
#include <guichan/input.hpp>
#include <guichan/key.hpp>
#include <guichan/keyinput.hpp>
#include <guichan/mouseinput.hpp>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "gcnWidgets/wButton.h"
#include "gcnWidgets/wCheckBox.h"
#include "gcnWidgets/wContener.h"
#include "gcnWidgets/wProgressBar.h"
#include "gcnWidgets/wSkin.h"
#include "gcnWidgets/wTextField.h"
#include "platform/HGEGraphics.h"
#include "platform/Resources.h"
#include "platform/SdlEngine.h"
#include "support/ScriptedInput.h"
#include "text/BitmapFont.h"
#include "tools/SdlEngineProbe.h"

namespace {

constexpr int kGalleryWidth = 600, kGalleryHeight = 400;

HTEXTURE LoadResource(HGE* engine, const char* name, const char* type) {
  const auto bytes = platform::FindResource(name, type);
  return bytes ? engine->Texture_Load(reinterpret_cast<const char*>(bytes->data),
                                      static_cast<std::uint32_t>(bytes->size), false)
               : 0;
}

bool DrawGallery(SdlEngine* engine, const char* out) {
  const HTEXTURE atlas = LoadResource(engine, "Main", "PNG");
  const HTEXTURE glyphs = LoadResource(engine, "Myriad20", "PNG");
  const auto descriptor = platform::FindResource("Myriad20", "FNT");
  if (!atlas || !glyphs || !descriptor) return false;
  // As start-up builds them.
  auto font =
      std::make_unique<BitmapFont>(reinterpret_cast<const char*>(descriptor->data),
                                   static_cast<std::uint32_t>(descriptor->size), glyphs, true);
  auto skin = SHR::CutSkin(atlas);
  SHR::AttachFonts(*skin, font.get());
  auto art = SHR::CutScreenArt(atlas);
  gcn::Widget::setGlobalFont(skin->guiFonts[0].get());

  ScriptedInput input;
  SHR::Contener top;
  top.setDimension(gcn::Rectangle(0, 0, kGalleryWidth, kGalleryHeight));
  gcn::HGEGraphics graphics;
  gcn::Gui gui;
  gui.setGraphics(&graphics);
  gui.setInput(&input);
  gui.setTop(&top);
  std::vector<gcn::Widget*> all;
  const auto Add = [&](gcn::Widget& widget, int x, int y) {
    top.add(&widget, x, y);
    all.push_back(&widget);
  };
  // Leaves only the given widgets visible, so that input reaches them and a
  // draw covers nothing else (the background was laid by the first pass).
  const auto Show = [&](std::initializer_list<gcn::Widget*> shown) {
    for (gcn::Widget* widget : all)
      widget->setVisible(std::find(shown.begin(), shown.end(), widget) != shown.end());
  };
  const auto Label = [&](int x, int y, const char* text) {
    font->SetColor(0xFFFFFFFF);
    font->Render(static_cast<float>(x), static_cast<float>(y), BitmapFont::kLeft, text);
  };

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

  engine->Gfx_BeginScene(0);
  {
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
    for (char c : path) input.KeyPress(c);
    gui.logic();
    gui.draw();

    Show({&home});
    home.requestFocus();
    for (char c : path) input.KeyPress(c);
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
  }
  engine->Gfx_EndScene();

  gui.setTop(nullptr);
  gcn::Widget::setGlobalFont(nullptr);
  return SdlEngineProbe::SaveShownFrame(*engine, out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s GALLERY.png\n", argv[0]);
    return 2;
  }
  // The engine refuses a driver without a screen unless one was asked for.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  auto owned = std::make_unique<SdlEngine>();
  SdlEngine* engine = owned.get();
  hgeInstall(std::move(owned));
  engine->System_SetState(HGE_SCREENWIDTH, kGalleryWidth);
  engine->System_SetState(HGE_SCREENHEIGHT, kGalleryHeight);
  engine->System_SetState(HGE_TEXTUREFILTER, false);
  engine->System_SetState(HGE_TITLE, "widget gallery");
  if (!engine->System_Initiate()) return 1;
  const bool written = DrawGallery(engine, argv[1]);
  engine->System_Shutdown();
  hgeInstall(nullptr);
  if (!written) std::fprintf(stderr, "make_widget_gallery: cannot write %s\n", argv[1]);
  return written ? 0 : 1;
}
