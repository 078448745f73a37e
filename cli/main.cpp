// tarnwick-cli: the archive tools of Tarnwick for scripts and terminals.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/OpenArchive.h"

namespace {

const char* kUsage =
    "Usage: tarnwick-cli COMMAND [OPTIONS] ARCHIVE...\n"
    "Reads the resource archives (.REZ, .VRZ, .SRZ) of CLAW and GRUNTZ.\n"
    "\n"
    "Commands:\n"
    "  stats [--json] ARCHIVE      archive size, detected game and file types\n"
    "  list [--json] ARCHIVE       every folder and file, depth first\n"
    "\n"
    "Options:\n"
    "  --help                      show this text\n"
    "  --version                   show the version\n"
    "\n"
    "Exit status: 0 on success, 2 on a usage error or an archive that cannot be read.\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return cli::UsageError("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kUsage, stdout);
    return cli::kExitOk;
  }
  if (args[0] == "--version") {
    std::printf("tarnwick-cli %s\n", TARNWICK_VERSION);
    return cli::kExitOk;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "stats") return cli::RunStats(args);
  if (command == "list") return cli::RunList(args);
  std::fprintf(stderr, "tarnwick-cli: unknown command '%s'\n%s", command.c_str(), kUsage);
  return cli::kExitUsage;
}
