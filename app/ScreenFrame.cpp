#include "app/ScreenFrame.h"

#include "app/AppContext.h"
#include "gcnWidgets/wSkin.h"
#include "platform/MessageBox.h"
#include "text/BitmapFont.h"

void DrawTitleSeparator(AppContext& app) {
  const float width = static_cast<float>(app.ScreenWidth());
  app.engine->Gfx_RenderLine(0, 28, width, 28, kDarkLine, 0.5f);
  app.engine->Gfx_RenderLine(0, 29, width, 29, kGreyLine, 0.5f);
}

void DrawBanner(AppContext& app) {
  app.art->titleLogo->Render(2, static_cast<float>(app.ScreenHeight() - 37));
}

void DrawAboutIcon(AppContext& app) {
  app.art->infoIcon->Render(581, 7);
}

void DrawScreenFrame(AppContext& app, const char* title) {
  DrawTitleSeparator(app);
  app.mainFont->SetColor(kWhite);
  app.mainFont->Render(3, 3, 0, title, false);
  DrawBanner(app);
  DrawAboutIcon(app);
}

bool InsideAboutHotSpot(float x, float y) {
  return x > 581 && x < 595 && y > 7 && y < 21;
}

std::string AboutText() {
  return std::string(kProductTitle) +
         "\n\nUnpacks the resource archives of CLAW and GRUNTZ (REZ, VRZ and SRZ)."
         "\n\nPictures are written with the DevIL image library."
         "\nWindow, drawing and input run on the SDL2 library;"
         " the widgets are built on guichan.";
}

void HandleAboutHotSpot(AppContext& app) {
  if (!app.engine->Input_KeyDown(HGEK_LBUTTON)) return;
  float x = 0, y = 0;
  app.engine->Input_GetMousePos(&x, &y);
  if (!InsideAboutHotSpot(x, y)) return;
  platform::ShowMessageBox(AboutText(), "Notice", platform::MessageBoxButtons::kOk,
                           platform::MessageBoxIcon::kInformation);
}
