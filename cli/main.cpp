// tarnwick-cli: the archive tools of Tarnwick for scripts and terminals.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Usage.h"

namespace {

const char* kUsage =
    "Usage: tarnwick-cli COMMAND [OPTIONS] ARCHIVE...\n"
    "Reads the resource archives (.REZ, .VRZ, .SRZ) of CLAW and GRUNTZ.\n"
    "\n"
    "Commands:\n"
    "  stats [--json] ARCHIVE      archive size, detected game and file types\n"
    "  list [--json] ARCHIVE       every folder and file, depth first\n"
    "  extract ARCHIVE DEST [--types=T1,T2,...] [--png] [--rect] [--midi] [--pcx]\n"
    "          [--empty-folders] [--overwrite=ask|all|never] [--palette=P] [--quiet]\n"
    "                              recreate the archive's folder tree in DEST (created when\n"
    "                              missing) with the files of the given types (default: all);\n"
    "                              --png converts PID pictures to PNG, --rect (with --png) puts\n"
    "                              a folder's pictures on one common canvas, --palette=P\n"
    "                              draws pictures that have no palette where the archive\n"
    "                              gives none with P (a PAL entry that stats lists, or a\n"
    "                              .PAL file), --midi writes XMI music as MIDI (NAME.mid, or\n"
    "                              NAME-1.mid... for several songs), --pcx converts PCX\n"
    "                              pictures to PNG, --empty-folders\n"
    "                              also makes folders without selected files. --overwrite=ask\n"
    "                              asks on stderr for each existing file and reads one line\n"
    "                              from stdin: y = overwrite, a = overwrite this and all later\n"
    "                              ones, anything else or end of input = keep. stdout carries\n"
    "                              only the picture conversion's diagnostics (--quiet: none)\n"
    "  pack [--overwrite] DIR ARCHIVE\n"
    "                              write the files of DIR (each named NAME.TYPE) into a new\n"
    "                              archive in the games' own layout; names that an archive\n"
    "                              cannot hold are listed and nothing is written\n"
    "  cat ARCHIVE PATH            write the bytes of the entry PATH to stdout\n"
    "\n"
    "Options:\n"
    "  --help                      show this text\n"
    "  --version                   show the version\n"
    "\n"
    "Exit status: 0 on success; 1 when extract could not write some files (each is\n"
    "reported on stderr), pack wrote nothing, or standard output could not be\n"
    "written; 2 on a usage error, an archive that cannot be read or a cat PATH that\n"
    "names no file.\n";

// Whatever a command printed must have reached stdout whole: a script reading
// a cut listing must not see success. A closed pipe may stay quiet.
int FinishStdout(int exitCode) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
  const int flushError = errno;
  const bool closed = std::fclose(stdout) == 0;
  if (flushed && closed) return exitCode;
  const int error = flushed ? errno : flushError;
  if (error != EPIPE)
    std::fprintf(stderr, "tarnwick-cli: cannot write standard output: %s\n",
                 error ? std::strerror(error) : "write error");
  return exitCode == cli::kExitOk ? cli::kExitPartial : exitCode;
}

int Run(std::vector<std::string> args) {
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
  if (command == "extract") return cli::RunExtract(args);
  if (command == "pack") return cli::RunPack(args);
  if (command == "cat") return cli::RunCat(args);
  std::fprintf(stderr, "tarnwick-cli: unknown command '%s'\n%s", command.c_str(), kUsage);
  return cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  return FinishStdout(Run(std::vector<std::string>(argv + 1, argv + argc)));
}
