// The user's side of an extraction on a terminal: questions and reports go to
// stderr, answers come from stdin.
#pragma once

#include <atomic>
#include <string>

#include "cli/TerminalOutput.h"
#include "extract/UserQuestions.h"

namespace cli {

enum class OverwriteMode { Ask, All, Never };

class TerminalQuestions : public UserQuestions {
 public:
  // Answers are read from the descriptor answers; a wait for one gives up
  // (as an answer that never came) once stop is set.
  TerminalQuestions(OverwriteMode mode, TerminalOutput& output, int answers,
                    const std::atomic<bool>& stop);

  // Ask: the question on stderr, one line from answers: y = Yes, a = overwrite
  // all, anything else or end of input = No.
  OverwriteAnswer AskOverwrite(const std::string& text) override;
  // Reported, then Continue: a script cannot sit in a retry loop.
  ImageErrorAnswer AskImageError(const std::string& text) override;
  void ReportFailure(const std::string& message) override;

 private:
  bool ReadAnswerLine(std::string& line);

  OverwriteMode mode;
  TerminalOutput& output;
  int answers;
  const std::atomic<bool>& stop;
  bool answersEnded = false;
};

}  // namespace cli
