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

// Where the about icon is drawn, and the area whose clicks open the about box
// (strictly inside, a pixel in from the icon's edges).
inline constexpr int kAboutIconX = 581;
inline constexpr int kAboutIconY = 7;
inline constexpr int kAboutHotSize = 14;
// The row of buttons at the bottom right of every wizard screen.
inline constexpr int kButtonRowY = 262;
inline constexpr int kButtonHeight = 33;
// True when the cursor lies strictly inside the about icon's hot spot.
bool InsideAboutHotSpot(float x, float y);
// The text of the about box.
std::string AboutText();
// Shows the about box when the left button went down over the icon in this frame.
void HandleAboutHotSpot(AppContext& app);

class BitmapFont;

// Draws a name from an archive or the file system as it is, in colour: its
// tildes are characters, never colour codes. Returns the width drawn.
float DrawLiteral(BitmapFont& font, float x, float y, const std::string& text, unsigned colour);
// The text, or when it is wider than maxWidth its start and end joined by
// "...", so that both ends (and a size after it) stay visible.
std::string ShortenMiddle(BitmapFont& font, const std::string& text, float maxWidth);

inline constexpr unsigned kWhite = 0xFFFFFFFF;
inline constexpr unsigned kDarkLine = 0xFF1F1F1F;
inline constexpr unsigned kGreyLine = 0xFF5C5C5C;
inline constexpr unsigned kYellow = 0xFFFFFF00;
inline constexpr unsigned kGreen = 0xFF00FF00;
