#include "app/GuiQuestions.h"

#include "platform/MessageBox.h"

OverwriteAnswer GuiQuestions::AskOverwrite(const std::string& text) {
  switch (platform::ShowMessageBox(owner, text, "Question", platform::MessageButtons::YesNoCancel,
                                   platform::MessageIcon::Question)) {
    case platform::MessageAnswer::Yes:
      return OverwriteAnswer::Yes;
    case platform::MessageAnswer::Cancel:
      return OverwriteAnswer::Cancel;
    default:
      return OverwriteAnswer::No;
  }
}

ImageErrorAnswer GuiQuestions::AskImageError(const std::string& text) {
  switch (platform::ShowMessageBox(owner, text, "DevIL error",
                                   platform::MessageButtons::CancelTryContinue,
                                   platform::MessageIcon::None)) {
    case platform::MessageAnswer::TryAgain:
      return ImageErrorAnswer::TryAgain;
    case platform::MessageAnswer::Continue:
      return ImageErrorAnswer::Continue;
    default:
      return ImageErrorAnswer::Cancel;
  }
}

void GuiQuestions::ReportFailure(const std::string& message) {
  std::lock_guard<std::mutex> guard(failuresLock);
  failures.push_back(message);
}

std::vector<std::string> GuiQuestions::Failures() const {
  std::lock_guard<std::mutex> guard(failuresLock);
  return failures;
}
