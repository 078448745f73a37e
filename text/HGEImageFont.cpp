#include "text/HGEImageFont.h"

#include <cstdint>
#include <guichan/cliprectangle.hpp>
#include <guichan/color.hpp>

#include "text/Windows1252.h"

namespace gcn {

HGEImageFont::HGEImageFont(BitmapFont* font_, bool ownsFont) : font(font_) {
  if (ownsFont) ownedFont.reset(font_);
}

HGEImageFont::HGEImageFont(const std::string& descriptorName)
    : ownedFont(std::make_unique<BitmapFont>(descriptorName.c_str())) {
  font = ownedFont.get();
}

HGEImageFont::~HGEImageFont() = default;

int HGEImageFont::getWidth(const std::string& text) const {
  const BitmapFont::LiteralScope mode(*font, literal);
  return static_cast<int>(font->GetStringWidth(text.c_str(), true)) + 1;
}

int HGEImageFont::getWidth(unsigned char glyph) const {
  const BitmapFont::LiteralScope mode(*font, literal);
  const char text[2] = {static_cast<char>(glyph), '\0'};
  return static_cast<int>(font->GetStringWidth(text, true));
}

int HGEImageFont::getHeight() const {
  return static_cast<int>(font->GetHeight());
}

int HGEImageFont::getStringIndexAt(const std::string& text, int x) const {
  const BitmapFont::LiteralScope mode(*font, literal);
  // Whole characters: the index is always where a character starts.
  const bool utf8 = text::IsValidUtf8(text);
  int sum = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    if (utf8) {
      text::NextCodePoint(text, at);
    } else {
      ++at;
    }
    sum += static_cast<int>(font->GetStringWidth(text.substr(start, at - start).c_str(), true));
    if (sum > x) return static_cast<int>(start);
  }
  return static_cast<int>(text.size());
}

void HGEImageFont::drawString(Graphics* graphics, const std::string& text, int x, int y) {
  if (!graphics) return;
  const Color& colour = graphics->getColor();
  const auto byte = [](int component) { return static_cast<std::uint32_t>(component) & 0xFF; };
  font->SetColor(byte(colour.a) << 24 | byte(colour.r) << 16 | byte(colour.g) << 8 |
                 byte(colour.b));
  const ClipRectangle& clip = graphics->getCurrentClipArea();
  const BitmapFont::LiteralScope mode(*font, literal);
  font->Render(static_cast<float>(x + clip.xOffset), static_cast<float>(y + clip.yOffset),
               BitmapFont::kLeft, text.c_str(), false);
}

}  // namespace gcn
