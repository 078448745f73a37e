// Modal message boxes: a text, a title, one of four button sets and an icon;
// the call blocks its thread until a button is pressed and says which.
//
// Boxes may be shown from the extraction worker while the main thread keeps
// running the frame loop; while a box is up the main window ignores input.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/hge.h"

namespace platform {

enum class MessageBoxButtons { kOk, kYesNo, kYesNoCancel, kCancelTryContinue };
enum class MessageBoxIcon { kNone, kError, kInformation, kQuestion, kWarning };
enum class MessageBoxAnswer { kOk, kCancel, kYes, kNo, kTryAgain, kContinue };

struct MessageBoxButton {
  const char* label;
  MessageBoxAnswer answer;
};

// The buttons of a set from left to right: "OK"; "Yes", "No"; "Yes", "No",
// "Cancel"; "Cancel", "Try Again", "Continue".
std::vector<MessageBoxButton> ButtonsOf(MessageBoxButtons buttons);
// Return presses the first button of the set.
MessageBoxAnswer ReturnAnswer(MessageBoxButtons buttons);
// Escape and closing the box: Cancel where the set has one, No in a Yes/No box,
// OK in an OK box.
MessageBoxAnswer EscapeAnswer(MessageBoxButtons buttons);

struct MessageBoxRequest {
  HWND owner = nullptr;  // the engine's window (System_GetState(HGE_HWND)) or none
  std::string text;
  std::string title;
  MessageBoxButtons buttons = MessageBoxButtons::kOk;
  MessageBoxIcon icon = MessageBoxIcon::kNone;
};

// Shows the box and waits for the answer. Texts are the program's 8-bit
// strings (UTF-8, or Windows-1252 where they are not valid UTF-8). When no box
// can be shown, the text goes to standard error and the box counts as closed.
MessageBoxAnswer ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                                MessageBoxButtons buttons, MessageBoxIcon icon);

// Test seam: while an answerer is installed, it is asked instead of the user,
// on the thread that shows the box, with the main window modal as for a real
// box. An empty function restores the real boxes.
using MessageBoxAnswerer = std::function<MessageBoxAnswer(const MessageBoxRequest&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

// Text for display: kept when it is valid UTF-8, else read as Windows-1252.
std::string DisplayText(const std::string& text);

}  // namespace platform
