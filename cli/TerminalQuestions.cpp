#include "cli/TerminalQuestions.h"

#include <cctype>
#include <cerrno>

#include "extract/EntryNames.h"
#include "extract/Formatting.h"

namespace cli {

namespace {

// Archive names inside a multi-line text, made safe for a terminal line by line.
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

}  // namespace

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
  const std::string left =
      fraction > 0.0 && fraction < 1.0
          ? DurationText(static_cast<std::int64_t>(double(elapsedMs) / fraction * (1.0 - fraction)))
          : std::string("-");
  // A question may hold the terminal while it waits for an answer; skip this
  // frame rather than stall the caller's loop.
  std::unique_lock<std::mutex> guard(mutex, std::try_to_lock);
  if (!guard.owns_lock()) return;
  std::fprintf(stream, "\r\033[K[%s] file %d/%d, time left: %s", bar.c_str(), current, total,
               left.c_str());
  std::fflush(stream);
  progressVisible = true;
}

TerminalQuestions::TerminalQuestions(OverwriteMode mode, TerminalOutput& output, std::FILE* answers)
    : mode(mode), output(output), answers(answers) {}

bool TerminalQuestions::ReadAnswerLine(std::string& line) {
  line.clear();
  if (answersEnded) return false;
  for (;;) {
    const int c = std::fgetc(answers);
    if (c == EOF) {
      // An interrupted read (Ctrl-C) ends the answers too: the job is stopping.
      answersEnded = true;
      return !line.empty();
    }
    if (c == '\n') return true;
    if (line.size() < 256) line.push_back(static_cast<char>(c));
  }
}

OverwriteAnswer TerminalQuestions::AskOverwrite(const std::string& text) {
  if (mode == OverwriteMode::All) return OverwriteAnswer::Yes;
  if (mode == OverwriteMode::Never) return OverwriteAnswer::No;
  std::string line;
  {
    std::lock_guard<std::mutex> guard(output.Lock());
    // The question holds the terminal until it is answered, so that the
    // progress line does not write over it.
    std::FILE* stream = output.Stream();
    std::fputs("\r\033[K", stream);
    std::fprintf(stream, "%s\n[y]es, [n]o, [a]ll: ", PrintableText(text).c_str());
    std::fflush(stream);
    const bool got = ReadAnswerLine(line);
    if (!got) std::fputs("\n", stream);
    std::fflush(stream);
  }
  std::string word;
  for (const char c : line)
    if (!std::isspace(static_cast<unsigned char>(c)))
      word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  if (word == "y" || word == "yes") return OverwriteAnswer::Yes;
  if (word == "a" || word == "all") return OverwriteAnswer::Cancel;
  return OverwriteAnswer::No;
}

ImageErrorAnswer TerminalQuestions::AskImageError(const std::string& text) {
  output.Print("tarnwick-cli: DevIL error: " + PrintableText(text));
  return ImageErrorAnswer::Continue;
}

void TerminalQuestions::ReportFailure(const std::string& message) {
  output.Print("tarnwick-cli: " + PrintableText(message));
}

}  // namespace cli
