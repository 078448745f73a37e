#include "cli/TerminalOutput.h"

#include <algorithm>

#include "archive/WriteAll.h"
#include "extract/EntryNames.h"
#include "extract/Formatting.h"

namespace cli {

std::string PrintableText(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    out += PrintableName(std::string_view(text).substr(start, end - start));
    if (end == std::string::npos) return out;
    out += '\n';
    start = end + 1;
  }
}

TerminalOutput::TerminalOutput(std::FILE* stream, bool showProgress)
    : stream(stream), showProgress(showProgress) {}

void TerminalOutput::ClearLocked() {
  if (!progressVisible) return;
  std::fputs("\r\033[K", stream);
  progressVisible = false;
}

void TerminalOutput::Print(const std::string& text) {
  std::lock_guard<std::mutex> guard(mutex);
  ClearLocked();
  std::fprintf(stream, "%s\n", text.c_str());
  std::fflush(stream);
}

void TerminalOutput::Ask(const std::string& text, const std::function<bool()>& answer) {
  std::lock_guard<std::mutex> guard(mutex);
  ClearLocked();
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
  // An answer that never came leaves the cursor after the prompt.
  if (!answer()) std::fputs("\n", stream);
  std::fflush(stream);
}

void TerminalOutput::PassThrough(int fd, const char* data, std::size_t size) {
  std::lock_guard<std::mutex> guard(mutex);
  ClearLocked();
  std::fflush(stream);
  REZ::WriteAll(fd, data, size);
}

void TerminalOutput::ClearProgress() {
  std::lock_guard<std::mutex> guard(mutex);
  ClearLocked();
  std::fflush(stream);
}

void TerminalOutput::ShowProgress(std::int32_t current, std::int32_t total,
                                  std::int64_t elapsedMs) {
  if (!showProgress) return;
  constexpr int kBarWidth = 30;
  const double fraction =
      total > 0 ? std::min(1.0, std::max(0.0, double(current) / double(total))) : 0.0;
  const int filled = static_cast<int>(fraction * kBarWidth);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
  const auto left = EstimateTimeLeft(elapsedMs, fraction);
  // A question may hold the terminal while it waits for an answer; skip this
  // frame rather than stall the caller's loop.
  std::unique_lock<std::mutex> guard(mutex, std::try_to_lock);
  if (!guard.owns_lock()) return;
  std::fprintf(stream, "\r\033[K[%s] file %d/%d, time left: %s", bar.c_str(), current, total,
               left ? DurationText(*left).c_str() : "-");
  std::fflush(stream);
  progressVisible = true;
}

}  // namespace cli
