#include "app/GuiQuestions.h"

#include "platform/MessageBox.h"

namespace {

std::atomic<int> openQuestions{0};

// Counts a question while its box is up.
class OpenQuestion {
 public:
  OpenQuestion() { ++openQuestions; }
  ~OpenQuestion() { --openQuestions; }
  OpenQuestion(const OpenQuestion&) = delete;
  OpenQuestion& operator=(const OpenQuestion&) = delete;
};

}  // namespace

int GuiQuestions::OpenQuestions() {
  return openQuestions.load();
}

OverwriteAnswer GuiQuestions::AskOverwrite(const std::string& text) {
  const OpenQuestion open;
  switch (platform::ShowMessageBox(owner, text, "Question",
                                   platform::MessageBoxButtons::kYesNoCancel,
                                   platform::MessageBoxIcon::kQuestion)) {
    case platform::MessageBoxAnswer::kYes:
      return OverwriteAnswer::Yes;
    case platform::MessageBoxAnswer::kCancel:
      return OverwriteAnswer::OverwriteAll;
    default:
      return OverwriteAnswer::No;
  }
}

ImageErrorAnswer GuiQuestions::AskImageError(const std::string& text) {
  const OpenQuestion open;
  switch (platform::ShowMessageBox(owner, text, "DevIL error",
                                   platform::MessageBoxButtons::kCancelTryContinue,
                                   platform::MessageBoxIcon::kNone)) {
    case platform::MessageBoxAnswer::kTryAgain:
      return ImageErrorAnswer::TryAgain;
    case platform::MessageBoxAnswer::kContinue:
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
