// Opening an archive for a command, with the one-line error the CLI prints.
#pragma once

#include <memory>
#include <string>

#include "archive/cREZ.h"

namespace cli {

// Returns the opened archive, or prints "tarnwick-cli: <path>: <message>" to
// stderr and returns nullptr.
std::unique_ptr<REZ::Parser> OpenArchive(const std::string& path);

// Prints "tarnwick-cli: <message>" to stderr and returns the usage exit code.
int UsageError(const std::string& message);

}  // namespace cli
