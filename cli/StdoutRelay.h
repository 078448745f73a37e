// While it lives, whatever the process writes to standard output passes
// through a TerminalOutput, line by line, so that stdout's lines do not land
// in the middle of a progress line on the same terminal.
#pragma once

#include <thread>

#include "cli/TerminalOutput.h"

namespace cli {

class StdoutRelay {
 public:
  explicit StdoutRelay(TerminalOutput& output);
  ~StdoutRelay();
  StdoutRelay(const StdoutRelay&) = delete;
  StdoutRelay& operator=(const StdoutRelay&) = delete;

 private:
  TerminalOutput& output;
  int original = -1;
  int readEnd = -1;
  std::thread reader;
};

}  // namespace cli
