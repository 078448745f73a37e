// tarnwick-cli pack: a folder tree as an archive in the games' own layout.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "archive/PackTree.h"
#include "archive/RezWriter.h"
#include "cli/Commands.h"
#include "cli/OpenArchive.h"
#include "cli/Usage.h"
#include "extract/EntryNames.h"

namespace cli {

int RunPack(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  bool overwrite = false;
  bool optionsEnded = false;
  for (const auto& arg : args) {
    if (optionsEnded || arg.size() < 2 || arg[0] != '-')
      positional.push_back(arg);
    else if (arg == "--")
      optionsEnded = true;
    else if (arg == "--overwrite")
      overwrite = true;
    else
      return UsageError("pack: unknown option '" + arg + "'");
  }
  if (positional.size() != 2)
    return UsageError(positional.size() < 2 ? "pack: needs a folder and an archive"
                                            : "pack: too many arguments");
  const std::filesystem::path folder = positional[0];
  const std::filesystem::path archive = positional[1];
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    return UsageError("pack: " + PrintableName(folder.string()) + " is not a folder");
  if (!overwrite && std::filesystem::exists(std::filesystem::symlink_status(archive, error))) {
    std::fprintf(stderr, "tarnwick-cli: %s already exists (--overwrite replaces it)\n",
                 PrintableName(archive.string()).c_str());
    return kExitPartial;
  }

  const REZ::PackTree tree = REZ::ReadPackTree(folder);
  for (const auto& refusal : tree.refusals)
    std::fprintf(stderr, "tarnwick-cli: %s: %s\n", PrintableName(refusal.path.string()).c_str(),
                 refusal.reason.c_str());
  if (!tree.refusals.empty()) {
    std::fprintf(stderr,
                 "tarnwick-cli: pack: %zu entries cannot go into an archive; nothing written\n",
                 tree.refusals.size());
    return kExitPartial;
  }
  // The newest content's time, so that packing the same tree again gives the same bytes.
  const REZ::RezWriteOptions options{overwrite, tree.newest};
  if (const auto failure = REZ::WriteRez(tree.root, archive, options)) {
    std::fprintf(stderr, "tarnwick-cli: pack: %s; nothing written\n",
                 PrintableName(*failure).c_str());
    return kExitPartial;
  }
  return kExitOk;
}

}  // namespace cli
