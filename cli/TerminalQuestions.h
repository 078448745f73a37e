// The user's side of an extraction on a terminal: questions and reports go to
// stderr, answers come from stdin, and a progress line shares stderr with them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "convert/UserQuestions.h"

namespace cli {

enum class OverwriteMode { Ask, All, Never };

// stderr is shared by the worker thread (questions, reports) and the main
// thread (progress line); this keeps their lines apart.
class TerminalOutput {
 public:
  explicit TerminalOutput(std::FILE* stream, bool showProgress);

  // Writes text on a line of its own, clearing the progress line first.
  void Print(const std::string& text);
  // Redraws the progress line (only when progress is shown).
  void ShowProgress(std::int32_t current, std::int32_t total, std::int64_t elapsedMs);
  void ClearProgress();

  std::FILE* Stream() const { return stream; }
  std::mutex& Lock() { return mutex; }

 private:
  void ClearLocked();

  std::FILE* stream;
  bool showProgress;
  bool progressVisible = false;
  std::mutex mutex;
};

class TerminalQuestions : public UserQuestions {
 public:
  TerminalQuestions(OverwriteMode mode, TerminalOutput& output, std::FILE* answers);

  // Ask: the question on stderr, one line from answers: y = Yes, a = overwrite
  // all (the box's Cancel), anything else or end of input = No.
  OverwriteAnswer AskOverwrite(const std::string& text) override;
  // Reported, then Continue: a script cannot sit in a retry loop.
  ImageErrorAnswer AskImageError(const std::string& text) override;
  void ReportFailure(const std::string& message) override;

 private:
  bool ReadAnswerLine(std::string& line);

  OverwriteMode mode;
  TerminalOutput& output;
  std::FILE* answers;
  bool answersEnded = false;
};

}  // namespace cli
