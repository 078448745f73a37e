// One message box drawn inside the program window, over the current screen:
// a title bar, an icon, the text (drawn literally, wrapped to the box) and a
// row of skinned buttons. It only lays out, draws and reads input; who waits
// for the answer is the business of InWindowBoxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/hge.h"

struct AppContext;
class BitmapFont;

struct BoxRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(float px, float py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// Where everything of a box goes, from the text and the font.
struct MessageBoxLayout {
  static constexpr int kMaxWidth = 560;
  static constexpr int kTitleHeight = 26;
  static constexpr int kMargin = 12;
  static constexpr int kIconSize = 40;
  static constexpr int kButtonHeight = 30;
  static constexpr int kButtonGap = 10;

  BoxRect panel;
  BoxRect icon;  // empty without an icon
  int textX = 0, textY = 0, lineHeight = 0;
  std::vector<std::string> lines;  // the text wrapped to the panel
  std::vector<BoxRect> buttons;

  static MessageBoxLayout Make(const platform::MessageBoxRequest& request, const BitmapFont& font,
                               int screenWidth, int screenHeight);
};

class MessageBoxView {
 public:
  MessageBoxView(AppContext& app, platform::MessageBoxRequest request);

  // Reads one input event; the answer once a button is pressed or the box
  // is dismissed. Return and Space press the focused button (the first one
  // at the start), Escape gives the safe answer, Tab, Shift+Tab and the
  // arrow keys move the focus, and the mouse presses a button on release.
  std::optional<platform::MessageBoxAnswer> Handle(const hgeInputEvent& event);
  // Dims the screen beneath and draws the box over it.
  void Draw();

  const platform::MessageBoxRequest& Request() const { return request; }
  const MessageBoxLayout& Layout() const { return layout; }
  int Focused() const { return focused; }

 private:
  void DrawIcon();
  void DrawButton(std::size_t index);

  AppContext& app;
  platform::MessageBoxRequest request;
  std::vector<platform::MessageBoxButton> buttons;
  MessageBoxLayout layout;
  int focused = 0;
  int hovered = -1;
  int pressed = -1;  // the button the mouse went down on
};
