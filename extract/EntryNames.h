// Checks and shows names that come from an archive.
#pragma once

#include <string>
#include <string_view>

// True when name can be used as exactly one path component inside the
// destination: not empty, not "." or "..", no "/", "\" or NUL. Archives are
// untrusted; anything else could climb out of the destination or land in a
// folder other than the one the archive names.
bool IsSafeEntryName(std::string_view name);

// name with control characters written as \xNN, so that a hostile name cannot
// drive a terminal when it is reported.
std::string PrintableName(std::string_view name);
