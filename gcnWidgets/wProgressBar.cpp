#include "gcnWidgets/wProgressBar.h"

#include <cmath>

#include "gcnWidgets/wSkin.h"

namespace SHR {

ProgressBar::ProgressBar(cSkin* skin) : mSkin(skin) {}

ProgressBar::~ProgressBar() = default;

float ProgressBar::getProgress() const {
  if (value == 0) return 0.0f;
  return 100.0f / (static_cast<float>(total) / static_cast<float>(value));
}

void ProgressBar::draw(gcn::Graphics*) {
  int ax = 0, ay = 0;
  getAbsolutePosition(ax, ay);
  const int w = getWidth();
  const int h = getHeight();
  const std::uint32_t tint = static_cast<std::uint32_t>(mAlpha) << 24 | 0xFFFFFFu;
  const auto at = [tint](Sprite* piece, int x, int y) {
    piece->SetColor(tint, -1);
    piece->Render(static_cast<float>(x), static_cast<float>(y));
  };
  const auto over = [tint](Sprite* piece, int x1, int y1, int x2, int y2) {
    piece->SetColor(tint, -1);
    piece->RenderStretch(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                         static_cast<float>(y2));
  };
  const cThreePiece& fill = mSkin->barFill;
  const cThreePiece& track = mSkin->barTrack;

  const float progress = getProgress();
  // A negative count (or NaN) would put the fill edge outside the bar and
  // make the pixel conversion undefined: it shows as nothing done.
  if (!(progress > 0.0f)) {
    at(track.left.get(), ax, ay);
    over(track.middle.get(), ax + 3, ay, ax + w - 3, ay + h);
    at(track.right.get(), ax + w - 3, ay);
  } else if (progress >= 100.0f) {
    at(fill.left.get(), ax, ay);
    over(fill.middle.get(), ax + 3, ay, ax + w - 3, ay + h);
    at(fill.right.get(), ax + w - 3, ay);
  } else {
    const int filled = static_cast<int>(std::trunc(static_cast<float>(w) * progress / 100.0f));
    at(fill.left.get(), ax, ay);
    // Below 3 pixels the middle box would be reversed; the caps cover it.
    if (filled > 3) over(fill.middle.get(), ax + 3, ay, ax + filled, ay + h);
    at(fill.right.get(), ax + filled - 3, ay);
    over(track.middle.get(), ax + filled, ay, ax + w - 3, ay + h);
    at(track.right.get(), ax + w - 3, ay);
  }
}

}  // namespace SHR
