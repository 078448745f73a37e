#include "cli/StdoutRelay.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace cli {

StdoutRelay::StdoutRelay(TerminalOutput& output) : output(output) {
  int ends[2];
  std::fflush(stdout);
  if (::pipe(ends) != 0) return;
  original = ::dup(STDOUT_FILENO);
  if (original < 0 || ::dup2(ends[1], STDOUT_FILENO) < 0) {
    ::close(ends[0]);
    ::close(ends[1]);
    if (original >= 0) ::close(original);
    original = -1;
    return;
  }
  ::close(ends[1]);
  readEnd = ends[0];
  reader = std::thread([this] {
    std::string pending;
    char buffer[4096];
    for (;;) {
      const ssize_t got = ::read(readEnd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      pending.append(buffer, static_cast<std::size_t>(got));
      const std::size_t lineEnd = pending.rfind('\n');
      if (lineEnd == std::string::npos) continue;
      this->output.PassThrough(original, pending.data(), lineEnd + 1);
      pending.erase(0, lineEnd + 1);
    }
    if (!pending.empty()) this->output.PassThrough(original, pending.data(), pending.size());
  });
}

StdoutRelay::~StdoutRelay() {
  if (original < 0) return;
  std::fflush(stdout);
  // Putting the real stdout back closes the pipe's last write end: the reader
  // sees the end, passes the rest on and stops.
  ::dup2(original, STDOUT_FILENO);
  reader.join();
  ::close(readEnd);
  ::close(original);
}

}  // namespace cli
