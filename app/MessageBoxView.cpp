#include "app/MessageBoxView.h"

#include <algorithm>
#include <cmath>

#include "app/AppContext.h"
#include "app/ScreenFrame.h"
#include "gcnWidgets/wDraw.h"
#include "gcnWidgets/wSkin.h"
#include "platform/Utf8.h"
#include "text/BitmapFont.h"

using platform::MessageBoxAnswer;
using platform::MessageBoxIcon;

namespace {

constexpr std::uint32_t kShade = 0xA0000000;
constexpr std::uint32_t kPanel = 0xFF3A3A3A;
constexpr std::uint32_t kTitleBar = 0xFF262626;
constexpr std::uint32_t kQuestionDisc = 0xFF2F6DB5;
constexpr int kMinButtonWidth = 80;

void Fill(HGE* engine, float x, float y, float w, float h, std::uint32_t colour) {
  hgeQuad quad;
  const float xs[4] = {x, x + w, x + w, x};
  const float ys[4] = {y, y, y + h, y + h};
  for (int i = 0; i < 4; ++i) {
    quad.v[i].x = xs[i];
    quad.v[i].y = ys[i];
    quad.v[i].col = colour;
  }
  quad.blend = BLEND_ALPHABLEND;
  engine->Gfx_RenderQuad(&quad);
}

void Frame(HGE* engine, const BoxRect& r, std::uint32_t colour) {
  const float l = static_cast<float>(r.x) + 0.5f, t = static_cast<float>(r.y) + 0.5f;
  const float rr = static_cast<float>(r.x + r.w) - 0.5f, b = static_cast<float>(r.y + r.h) - 0.5f;
  engine->Gfx_RenderLine(l, t, rr, t, colour);
  engine->Gfx_RenderLine(rr, t, rr, b, colour);
  engine->Gfx_RenderLine(rr, b, l, b, colour);
  engine->Gfx_RenderLine(l, b, l, t, colour);
}

float LiteralWidth(const BitmapFont& font, const std::string& text) {
  return font.GetStringWidth(text.c_str(), false);
}

// Breaks one paragraph into lines no wider than width: at blanks where it can,
// inside a word (between characters) where a word alone is too wide.
void Wrap(const BitmapFont& font, const std::string& paragraph, float width,
          std::vector<std::string>& lines) {
  std::string line;
  std::size_t at = 0;
  while (at <= paragraph.size()) {
    std::size_t end = paragraph.find(' ', at);
    if (end == std::string::npos) end = paragraph.size();
    std::string word = paragraph.substr(at, end - at);
    const std::string joined = line.empty() ? word : line + " " + word;
    if (LiteralWidth(font, joined) <= width) {
      line = joined;
    } else {
      if (!line.empty()) lines.push_back(line);
      line.clear();
      while (LiteralWidth(font, word) > width) {
        std::size_t cut = word.size();
        do {
          --cut;
        } while (cut > 1 && (!utf8::StartsCharacter(word[cut]) ||
                             LiteralWidth(font, word.substr(0, cut)) > width));
        lines.push_back(word.substr(0, cut));
        word.erase(0, cut);
      }
      line = word;
    }
    at = end + 1;
  }
  lines.push_back(line);
}

}  // namespace

MessageBoxLayout MessageBoxLayout::Make(const platform::MessageBoxRequest& request,
                                        const BitmapFont& font, int screenWidth, int screenHeight) {
  MessageBoxLayout layout;
  const bool hasIcon = request.icon != MessageBoxIcon::kNone;
  const int iconRoom = hasIcon ? kIconSize + kMargin : 0;
  const int maxWidth = std::min(kMaxWidth, screenWidth - 2 * kMargin);
  const float textRoom = static_cast<float>(maxWidth - 2 * kMargin - iconRoom);
  layout.lineHeight = std::max(1, static_cast<int>(std::ceil(font.GetHeight())));

  std::size_t start = 0;
  while (start <= request.text.size()) {
    std::size_t end = request.text.find('\n', start);
    if (end == std::string::npos) end = request.text.size();
    Wrap(font, request.text.substr(start, end - start), textRoom, layout.lines);
    start = end + 1;
  }
  const int roomForLines =
      (screenHeight - 2 * kMargin - kTitleHeight - 3 * kMargin - kButtonHeight) / layout.lineHeight;
  if (static_cast<int>(layout.lines.size()) > roomForLines) {
    layout.lines.resize(static_cast<std::size_t>(std::max(1, roomForLines)));
    layout.lines.back() = "...";
  }

  float textWidth = 0;
  for (const std::string& line : layout.lines)
    textWidth = std::max(textWidth, LiteralWidth(font, line));
  int buttonsWidth = 0;
  std::vector<int> widths;
  for (const platform::MessageBoxButton& button : platform::ButtonsOf(request.buttons)) {
    widths.push_back(
        std::max(kMinButtonWidth, static_cast<int>(LiteralWidth(font, button.label)) + 24));
    buttonsWidth += widths.back() + (widths.size() > 1 ? kButtonGap : 0);
  }
  const int contentWidth =
      std::max(iconRoom + static_cast<int>(std::ceil(textWidth)), buttonsWidth);
  const int textHeight =
      std::max(hasIcon ? kIconSize : 0, layout.lineHeight * static_cast<int>(layout.lines.size()));

  BoxRect& panel = layout.panel;
  panel.w = std::min(maxWidth, std::max(240, contentWidth + 2 * kMargin));
  panel.h = kTitleHeight + kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  panel.x = (screenWidth - panel.w) / 2;
  panel.y = std::max(0, (screenHeight - panel.h) / 2);
  const int bodyTop = panel.y + kTitleHeight + kMargin;
  if (hasIcon) layout.icon = {panel.x + kMargin, bodyTop, kIconSize, kIconSize};
  layout.textX = panel.x + kMargin + iconRoom;
  layout.textY = bodyTop;
  int x = panel.x + (panel.w - buttonsWidth) / 2;
  const int buttonsTop = panel.y + panel.h - kMargin - kButtonHeight;
  for (const int width : widths) {
    layout.buttons.push_back({x, buttonsTop, width, kButtonHeight});
    x += width + kButtonGap;
  }
  return layout;
}

MessageBoxView::MessageBoxView(AppContext& app, platform::MessageBoxRequest request)
    : app(app), request(std::move(request)), buttons(platform::ButtonsOf(this->request.buttons)) {
  const BitmapFont::LiteralScope literal(*app.mainFont);
  layout =
      MessageBoxLayout::Make(this->request, *app.mainFont, app.ScreenWidth(), app.ScreenHeight());
}

std::optional<MessageBoxAnswer> MessageBoxView::Handle(const hgeInputEvent& event) {
  const int count = static_cast<int>(buttons.size());
  auto under = [&](float x, float y) {
    for (int i = 0; i < count; ++i)
      if (layout.buttons[static_cast<std::size_t>(i)].Contains(x, y)) return i;
    return -1;
  };
  switch (event.type) {
    case INPUT_KEYDOWN:
      switch (event.key) {
        case HGEK_ENTER:
        case HGEK_SPACE:
          return buttons[static_cast<std::size_t>(focused)].answer;
        case HGEK_ESCAPE:
          return request.safeAnswer;
        case HGEK_TAB:
          focused = (focused + ((event.flags & HGEINP_SHIFT) ? count - 1 : 1)) % count;
          break;
        case HGEK_LEFT:
        case HGEK_UP:
          focused = (focused + count - 1) % count;
          break;
        case HGEK_RIGHT:
        case HGEK_DOWN:
          focused = (focused + 1) % count;
          break;
        default:
          break;
      }
      break;
    case INPUT_MOUSEMOVE:
      hovered = under(event.x, event.y);
      break;
    case INPUT_MBUTTONDOWN:
      if (event.key != HGEK_LBUTTON) break;
      pressed = under(event.x, event.y);
      if (pressed >= 0) focused = pressed;
      break;
    case INPUT_MBUTTONUP: {
      if (event.key != HGEK_LBUTTON) break;
      const int released = under(event.x, event.y);
      const int wasPressed = pressed;
      pressed = -1;
      if (released >= 0 && released == wasPressed)
        return buttons[static_cast<std::size_t>(released)].answer;
      break;
    }
    default:
      break;
  }
  return std::nullopt;
}

void MessageBoxView::DrawIcon() {
  const BoxRect& r = layout.icon;
  const float x1 = static_cast<float>(r.x), y1 = static_cast<float>(r.y);
  const float x2 = x1 + static_cast<float>(r.w), y2 = y1 + static_cast<float>(r.h);
  switch (request.icon) {
    case MessageBoxIcon::kInformation:
      app.skin->infoSymbol->RenderStretch(x1, y1, x2, y2);
      break;
    case MessageBoxIcon::kWarning:
      app.skin->warningSymbol->RenderStretch(x1, y1, x2, y2);
      break;
    case MessageBoxIcon::kError:
      app.skin->errorSymbol->RenderStretch(x1, y1, x2, y2);
      break;
    case MessageBoxIcon::kQuestion: {
      // The atlas has no question mark symbol: a disc of lines and the
      // font's own "?".
      const float radius = static_cast<float>(r.w) / 2.0f;
      const float cx = x1 + radius, cy = y1 + radius;
      for (int row = 0; row < r.h; ++row) {
        const float dy = static_cast<float>(row) + 0.5f - radius;
        const float half = std::sqrt(std::max(0.0f, radius * radius - dy * dy));
        app.engine->Gfx_RenderLine(cx - half, y1 + static_cast<float>(row) + 0.5f, cx + half,
                                   y1 + static_cast<float>(row) + 0.5f, kQuestionDisc);
      }
      BitmapFont& font = *app.mainFont;
      font.SetColor(kWhite);
      font.SetScale(1.5f);
      font.Render(cx, cy - std::trunc(font.GetHeight() * 0.75f), BitmapFont::kCentre, "?");
      font.SetScale(1.0f);
      break;
    }
    case MessageBoxIcon::kNone:
      break;
  }
}

void MessageBoxView::DrawButton(std::size_t index) {
  const BoxRect& r = layout.buttons[index];
  const int i = static_cast<int>(index);
  const SHR::cThreePiece& face = (pressed == i && hovered == i) ? app.skin->buttonPressed
                                 : hovered == i                 ? app.skin->buttonHover
                                                                : app.skin->buttonNormal;
  SHR::DrawThreePiece(face, r.x, r.y, r.w, r.h, 4);
  if (focused == i) SHR::DrawFocusGlow(app.engine, r.x, r.y, r.w, r.h);
  BitmapFont& font = *app.mainFont;
  font.SetColor(kWhite);
  const float shift = (pressed == i && hovered == i) ? 1.0f : 0.0f;
  font.Render(static_cast<float>(r.x + r.w / 2) + shift,
              static_cast<float>(r.y) +
                  std::trunc((static_cast<float>(r.h) - font.GetHeight()) / 2) + shift,
              BitmapFont::kCentre, buttons[index].label);
}

void MessageBoxView::Draw() {
  HGE* engine = app.engine;
  engine->Gfx_SetClipping();
  Fill(engine, 0, 0, static_cast<float>(app.ScreenWidth()), static_cast<float>(app.ScreenHeight()),
       kShade);
  const BoxRect& p = layout.panel;
  Fill(engine, static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.w),
       static_cast<float>(p.h), kPanel);
  Fill(engine, static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.w),
       MessageBoxLayout::kTitleHeight, kTitleBar);
  const float titleLine = static_cast<float>(p.y + MessageBoxLayout::kTitleHeight) + 0.5f;
  engine->Gfx_RenderLine(static_cast<float>(p.x), titleLine, static_cast<float>(p.x + p.w),
                         titleLine, kGreyLine);
  Frame(engine, p, kGreyLine);

  {
    BitmapFont& font = *app.mainFont;
    const BitmapFont::LiteralScope literal(font);
    font.SetColor(kWhite);
    font.Render(static_cast<float>(p.x + MessageBoxLayout::kMargin), static_cast<float>(p.y + 3), 0,
                request.title.c_str());
    for (std::size_t i = 0; i < layout.lines.size(); ++i)
      font.Render(static_cast<float>(layout.textX),
                  static_cast<float>(layout.textY + layout.lineHeight * static_cast<int>(i)), 0,
                  layout.lines[i].c_str());
    for (std::size_t i = 0; i < buttons.size(); ++i) DrawButton(i);
  }
  if (request.icon != MessageBoxIcon::kNone) DrawIcon();
}
