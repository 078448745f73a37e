#include "cli/Usage.h"

#include <cstdio>

#include "cli/Commands.h"

namespace cli {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "tarnwick-cli: %s\nTry 'tarnwick-cli --help'.\n", message.c_str());
  return kExitUsage;
}

}  // namespace cli
