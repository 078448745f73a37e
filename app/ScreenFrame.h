// What every wizard screen draws around its widgets, and the about box that
// the little info icon in the top right corner opens.
#pragma once

#include <string>

struct AppContext;

// The separator under the title bar: a dark line at y 28 and a grey one at y 29.
void DrawTitleSeparator(AppContext& app);
void DrawBanner(AppContext& app);
void DrawAboutIcon(AppContext& app);
// Separator, the title in white at (3, 3), the banner and the about icon.
void DrawScreenFrame(AppContext& app, const char* title);

// True when the cursor lies strictly inside the about icon, 581 < x < 595 and 7 < y < 21.
bool InsideAboutHotSpot(float x, float y);
// The text of the about box.
std::string AboutText();
// Shows the about box when the left button went down over the icon in this frame.
void HandleAboutHotSpot(AppContext& app);

inline constexpr unsigned kWhite = 0xFFFFFFFF;
inline constexpr unsigned kDarkLine = 0xFF1F1F1F;
inline constexpr unsigned kGreyLine = 0xFF5C5C5C;
