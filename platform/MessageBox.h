// Modal message boxes: a text, a title, one of four button sets and an icon;
// the call blocks its thread until a button is pressed and says which.
//
// The platform only routes the request: the program installs an answerer that
// draws the box inside its window (and tests install one that answers from a
// script). Boxes may be asked for from any thread.
#pragma once

#include <functional>
#include <optional>
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
// Escape and closing the box when the asker names no safer answer: Cancel
// where the set has one, No in a Yes/No box, OK in an OK box.
MessageBoxAnswer EscapeAnswer(MessageBoxButtons buttons);

struct MessageBoxRequest {
  std::string text;   // UTF-8; lines split at '\n'
  std::string title;  // UTF-8
  MessageBoxButtons buttons = MessageBoxButtons::kOk;
  MessageBoxIcon icon = MessageBoxIcon::kNone;
  // The answer of Escape and of closing the box or the window.
  MessageBoxAnswer safeAnswer = MessageBoxAnswer::kOk;
};

// Shows the box and waits for the answer. safeAnswer, when given, replaces
// EscapeAnswer(buttons) (the overwrite question's safe answer is "No", though
// its set has a "Cancel"). Without an answerer nobody can see a box (the
// window could not be made): the title and text go to standard error once,
// and the box counts as closed.
MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& title,
                                MessageBoxButtons buttons, MessageBoxIcon icon,
                                std::optional<MessageBoxAnswer> safeAnswer = std::nullopt);

// The one hook behind every box: while an answerer is installed, it is asked,
// on the thread that shows the box. The program installs its in-window boxes
// here once its window and font exist; tests install scripted answers. An
// empty function removes it.
using MessageBoxAnswerer = std::function<MessageBoxAnswer(const MessageBoxRequest&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

}  // namespace platform
