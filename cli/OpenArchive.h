// Opening an archive for a command, with the one-line error the CLI prints.
#pragma once

#include <memory>
#include <string>

#include "archive/cREZ.h"

namespace cli {

// Returns the opened archive, or prints "tarnwick-cli: <path>: <message>" to
// stderr (with the reader's detail in parentheses when it gave one) and
// returns nullptr.
std::unique_ptr<REZ::Parser> OpenArchive(const std::string& path);

}  // namespace cli
