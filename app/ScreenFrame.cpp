#include "app/ScreenFrame.h"

#include "app/AppContext.h"
#include "gcnWidgets/wSkin.h"
#include "platform/MessageBox.h"
#include "platform/Utf8.h"
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
  app.art->infoIcon->Render(kAboutIconX, kAboutIconY);
}

void DrawScreenFrame(AppContext& app, const char* title) {
  DrawTitleSeparator(app);
  app.mainFont->SetColor(kWhite);
  app.mainFont->Render(3, 3, 0, title, false);
  DrawBanner(app);
  DrawAboutIcon(app);
}

bool InsideAboutHotSpot(float x, float y) {
  return x > kAboutIconX && x < kAboutIconX + kAboutHotSize && y > kAboutIconY &&
         y < kAboutIconY + kAboutHotSize;
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

float DrawLiteral(BitmapFont& font, float x, float y, const std::string& text, unsigned colour) {
  const BitmapFont::LiteralScope literal(font);
  font.SetColor(colour);
  font.Render(x, y, 0, text.c_str());
  return font.GetStringWidth(text.c_str(), false);
}

std::string ShortenMiddle(BitmapFont& font, const std::string& text, float maxWidth) {
  const BitmapFont::LiteralScope literal(font);
  auto width = [&](const std::string& candidate) {
    return font.GetStringWidth(candidate.c_str(), false);
  };
  std::string result = text;
  if (width(text) > maxWidth) {
    // Whole characters only: a cut never splits a UTF-8 sequence.
    auto starts = [&](std::size_t at) { return utf8::StartsCharacter(text[at]); };
    std::size_t head = text.size() / 2, tail = text.size() / 2;
    result = "...";
    for (;;) {
      std::size_t newHead = head, newTail = tail;
      if (head > 0 && head >= text.size() - tail) {
        do --newHead;
        while (newHead > 0 && !starts(newHead));
      } else if (tail < text.size()) {
        do ++newTail;
        while (newTail < text.size() && !starts(newTail));
      } else {
        break;
      }
      head = newHead;
      tail = newTail;
      const std::string candidate = text.substr(0, head) + "..." + text.substr(tail);
      if (width(candidate) <= maxWidth) {
        result = candidate;
        break;
      }
    }
  }
  return result;
}
