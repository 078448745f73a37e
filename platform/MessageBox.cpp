#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace platform {
namespace {

std::mutex answererLock;
MessageBoxAnswerer& Answerer() {
  static MessageBoxAnswerer answerer;
  return answerer;
}

}  // namespace

std::vector<MessageBoxButton> ButtonsOf(MessageBoxButtons buttons) {
  using A = MessageBoxAnswer;
  switch (buttons) {
    case MessageBoxButtons::kOk:
      return {{"OK", A::kOk}};
    case MessageBoxButtons::kYesNo:
      return {{"Yes", A::kYes}, {"No", A::kNo}};
    case MessageBoxButtons::kYesNoCancel:
      return {{"Yes", A::kYes}, {"No", A::kNo}, {"Cancel", A::kCancel}};
    case MessageBoxButtons::kCancelTryContinue:
      return {{"Cancel", A::kCancel}, {"Try Again", A::kTryAgain}, {"Continue", A::kContinue}};
  }
  return {{"OK", A::kOk}};
}

MessageBoxAnswer ReturnAnswer(MessageBoxButtons buttons) {
  return ButtonsOf(buttons)[0].answer;
}

MessageBoxAnswer EscapeAnswer(MessageBoxButtons buttons) {
  switch (buttons) {
    case MessageBoxButtons::kOk:
      return MessageBoxAnswer::kOk;
    case MessageBoxButtons::kYesNo:
      return MessageBoxAnswer::kNo;
    case MessageBoxButtons::kYesNoCancel:
    case MessageBoxButtons::kCancelTryContinue:
      return MessageBoxAnswer::kCancel;
  }
  return MessageBoxAnswer::kCancel;
}

MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& title,
                                MessageBoxButtons buttons, MessageBoxIcon icon,
                                std::optional<MessageBoxAnswer> safeAnswer) {
  const MessageBoxRequest request{text, title, buttons, icon,
                                  safeAnswer.value_or(EscapeAnswer(buttons))};
  MessageBoxAnswerer answerer;
  {
    std::lock_guard<std::mutex> guard(answererLock);
    answerer = Answerer();
  }
  if (answerer) return answerer(request);
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  return request.safeAnswer;
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  std::lock_guard<std::mutex> guard(answererLock);
  Answerer() = std::move(answerer);
}

}  // namespace platform
