// Checks, converts and shows names that come from an archive.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// True when name can be used as exactly one path component inside the
// destination: not empty, not "." or "..", no "/", "\" or NUL. Archives are
// untrusted; anything else could climb out of the destination or land in a
// folder other than the one the archive names.
bool IsSafeEntryName(std::string_view name);

// The name an archive entry gets on disk: its Windows-1252 bytes as UTF-8,
// the same text list --json and the wizard show. Nothing when the decoded
// name is not safe (IsSafeEntryName).
std::optional<std::string> DiskNameOf(std::string_view archiveName);

// The archive name of the PNG made from a PID entry: a final ".PID" becomes
// ".png" ("PIDGEON.PID" -> "PIDGEON.png"); any other name gets ".png" added.
std::string PngNameOf(std::string_view pidEntryName);

// name with control characters written as \xNN, so that a hostile name cannot
// drive a terminal when it is reported. Valid UTF-8 characters are kept; a
// byte that does not belong to one is escaped.
std::string PrintableName(std::string_view name);
