// The arguments of the commands that read one archive: "[--json] ARCHIVE".
#pragma once

#include <string>
#include <vector>

namespace cli {

struct ArchiveArgs {
  bool json = false;
  std::string archive;
};

// Returns false after printing a usage error naming command.
bool ParseArchiveArgs(const char* command, const std::vector<std::string>& args, ArchiveArgs& out);

// A UTF-8 name for a text listing: control bytes as \xNN (as extract's reports show
// them) and a backslash doubled, so that no name can move the cursor, start a
// line or pass for another.
std::string ListedName(const std::string& name);

}  // namespace cli
