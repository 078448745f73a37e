#include "cli/ArchiveArgs.h"

#include "cli/Usage.h"
#include "extract/EntryNames.h"

namespace cli {

bool ParseArchiveArgs(const char* command, const std::vector<std::string>& args, ArchiveArgs& out) {
  for (const auto& arg : args) {
    if (arg == "--json") {
      out.json = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      UsageError(std::string(command) + ": unknown option '" + arg + "'");
      return false;
    } else if (out.archive.empty()) {
      out.archive = arg;
    } else {
      UsageError(std::string(command) + ": more than one archive given");
      return false;
    }
  }
  if (out.archive.empty()) {
    UsageError(std::string(command) + ": no archive given");
    return false;
  }
  return true;
}

std::string ListedName(const std::string& name) {
  std::string doubled;
  for (const char c : name) {
    doubled.push_back(c);
    if (c == '\\') doubled.push_back('\\');
  }
  return PrintableName(doubled);
}

}  // namespace cli
