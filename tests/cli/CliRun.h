// Runs tarnwick-cli as a separate process, the way scripts run it.
#pragma once

#include <sys/wait.h>

#include <cstdlib>

#include "tests/extract/ExtractTestSupport.h"

struct CliRun {
  int exitCode = -1;
  std::string out, err;
};

// Feeds input on stdin; scratch holds the captured streams. A run that hangs
// is killed after a minute and fails with exit code -1.
inline CliRun RunCli(const std::filesystem::path& scratch, const std::vector<std::string>& args,
                     const std::string& input = "", const std::string& stdoutTo = "") {
  const auto quoted = [](const std::string& text) {
    std::string result = "'";
    for (const char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "' ";
  };
  extracttest::WriteText(scratch / "stdin", input);
  std::string command = "timeout -s KILL 60 " + quoted(TARNWICK_CLI_PATH);
  for (const auto& arg : args) command += quoted(arg);
  command += "<" + quoted((scratch / "stdin").string()) + ">" +
             quoted(stdoutTo.empty() ? (scratch / "stdout").string() : stdoutTo) + "2>" +
             quoted((scratch / "stderr").string());
  const int status = std::system(command.c_str());
  const bool ended = WIFEXITED(status) && WEXITSTATUS(status) != 137;
  return {ended ? WEXITSTATUS(status) : -1, extracttest::ReadFile(scratch / "stdout"),
          extracttest::ReadFile(scratch / "stderr")};
}
