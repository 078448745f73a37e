// How the extraction asks the user something while it runs.
//
// The desktop program answers with message boxes, tarnwick-cli on the
// terminal, tests with scripted answers. Calls come from the worker thread and
// block it until the answer is known.
#pragma once

#include <string>

// OverwriteAll: this file and every later one without asking again.
enum class OverwriteAnswer { Yes, No, OverwriteAll };
enum class ImageErrorAnswer { Cancel, TryAgain, Continue };

class UserQuestions {
 public:
  virtual ~UserQuestions() = default;

  // The "Question" box: text is the full question, e.g. "File A.WAV in:\n...".
  virtual OverwriteAnswer AskOverwrite(const std::string& text) = 0;
  // The "DevIL error" box: text is "#<code>: <message>\nFile: <entry name>".
  virtual ImageErrorAnswer AskImageError(const std::string& text) = 0;
  // An entry or folder that could not be handled; the job goes on.
  virtual void ReportFailure(const std::string& message) = 0;
};
