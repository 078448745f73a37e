// stderr shared by the worker thread (questions, reports) and the main thread
// (progress line): this keeps their lines apart. Terminal control codes are
// written only when stderr is a terminal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

namespace cli {

class TerminalOutput {
 public:
  // showProgress: stderr is a terminal, so the progress line is drawn.
  TerminalOutput(std::FILE* stream, bool showProgress);

  // Writes text on a line of its own, clearing the progress line first.
  void Print(const std::string& text);
  // Writes text (no newline added) and, holding the stream so that no
  // progress line writes over it, waits for answer() to return.
  void Ask(const std::string& text, const std::function<bool()>& answer);
  // Writes bytes meant for another stream of the same terminal (whole lines),
  // clearing the progress line first.
  void PassThrough(int fd, const char* data, std::size_t size);
  // Redraws the progress line (only when progress is shown).
  void ShowProgress(std::int32_t current, std::int32_t total, std::int64_t elapsedMs);
  void ClearProgress();

 private:
  void ClearLocked();

  std::FILE* stream;
  bool showProgress;
  bool progressVisible = false;
  std::mutex mutex;
};

// Archive names inside a multi-line text, made safe for a terminal line by line.
std::string PrintableText(const std::string& text);

}  // namespace cli
