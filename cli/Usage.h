// The usage error every command prints for arguments it cannot take.
#pragma once

#include <string>

namespace cli {

// Prints "tarnwick-cli: <message>" and the pointer to --help to stderr and
// returns the usage exit code.
int UsageError(const std::string& message);

}  // namespace cli
