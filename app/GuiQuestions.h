// The desktop program's answers to the extraction's questions: message boxes
// owned by the program window, shown from the worker thread while the window
// goes on drawing.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "extract/UserQuestions.h"
#include "platform/hge.h"

class GuiQuestions : public UserQuestions {
 public:
  explicit GuiQuestions(HWND owner) : owner(owner) {}

  // "Question" with Yes, No and Cancel.
  OverwriteAnswer AskOverwrite(const std::string& text) override;
  // "DevIL error" with Cancel, Try Again and Continue.
  ImageErrorAnswer AskImageError(const std::string& text) override;
  // Kept for the summary screen; never shown from the worker.
  void ReportFailure(const std::string& message) override;

  // Every failure reported so far, oldest first.
  std::vector<std::string> Failures() const;

  // Questions waiting for the user right now, across all extractions.
  static int OpenQuestions();

 private:
  HWND owner;
  mutable std::mutex failuresLock;
  std::vector<std::string> failures;
};
