// The desktop program's answers to the extraction's questions: message boxes
// asked from the worker thread, drawn by the main loop in the program window.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "extract/UserQuestions.h"

class GuiQuestions : public UserQuestions {
 public:
  // "Question" with Yes, No and Cancel; Escape and closing keep the file (No),
  // while the Cancel button keeps its meaning: overwrite this and every later file.
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
  mutable std::mutex failuresLock;
  std::vector<std::string> failures;
};
