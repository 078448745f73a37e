// Runs tarnwick-cli as a separate process, the way scripts run it.
#pragma once

#include <sys/wait.h>

#include <cstdlib>

#include "tests/extract/ExtractTestSupport.h"

struct CliRun {
  int exitCode = -1;
  std::string out, err;
};

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Feeds input on stdin; scratch holds the captured streams. A run that hangs
// is killed after a minute and fails with exit code -1.
inline CliRun RunCli(const std::filesystem::path& scratch, const std::vector<std::string>& args,
                     const std::string& input = "", const std::string& stdoutTo = "") {
  extracttest::WriteText(scratch / "stdin", input);
  std::string command = "timeout -s KILL 60 " + ShellQuoted(TARNWICK_CLI_PATH);
  for (const auto& arg : args) command += " " + ShellQuoted(arg);
  command += " <" + ShellQuoted((scratch / "stdin").string()) + " >" +
             ShellQuoted(stdoutTo.empty() ? (scratch / "stdout").string() : stdoutTo) + " 2>" +
             ShellQuoted((scratch / "stderr").string());
  const int status = std::system(command.c_str());
  CliRun run;
  run.exitCode = WIFEXITED(status) && WEXITSTATUS(status) != 137 ? WEXITSTATUS(status) : -1;
  run.out = extracttest::ReadFile(scratch / "stdout");
  run.err = extracttest::ReadFile(scratch / "stderr");
  return run;
}
