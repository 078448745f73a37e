#include "cli/TerminalQuestions.h"

#include <poll.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

namespace cli {

TerminalQuestions::TerminalQuestions(OverwriteMode mode, TerminalOutput& output, int answers,
                                     const std::atomic<bool>& stop)
    : mode(mode), output(output), answers(answers), stop(stop) {}

bool TerminalQuestions::ReadAnswerLine(std::string& line) {
  line.clear();
  if (answersEnded) return false;
  // Byte by byte and unbuffered: nothing after the answer's line is taken
  // from the input, and the wait can look at stop between polls.
  for (;;) {
    pollfd ready{answers, POLLIN, 0};
    if (stop.load()) {
      answersEnded = true;
      return false;
    }
    const int polled = ::poll(&ready, 1, 100);
    if (polled == 0 || (polled < 0 && errno == EINTR)) continue;
    char c = 0;
    const ssize_t got = polled < 0 ? -1 : ::read(answers, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    if (c == '\n') return true;
    if (line.size() < 256) line.push_back(c);
  }
  // End of input, or the job is stopping: no later question waits either.
  answersEnded = true;
  return !line.empty();
}

OverwriteAnswer TerminalQuestions::AskOverwrite(const std::string& text) {
  if (mode == OverwriteMode::All) return OverwriteAnswer::Yes;
  if (mode == OverwriteMode::Never) return OverwriteAnswer::No;
  std::string line;
  output.Ask(PrintableText(text) + "\n[y]es, [n]o, [a]ll: ", [&] { return ReadAnswerLine(line); });
  std::string word;
  for (const char c : line)
    if (!std::isspace(static_cast<unsigned char>(c)))
      word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  if (word == "y" || word == "yes") return OverwriteAnswer::Yes;
  if (word == "a" || word == "all") return OverwriteAnswer::OverwriteAll;
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
