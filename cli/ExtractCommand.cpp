#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "archive/ArchiveStats.h"
#include "cli/Commands.h"
#include "cli/OpenArchive.h"
#include "cli/TerminalQuestions.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "extract/ExtractWorker.h"

namespace cli {

namespace {

struct ExtractArgs {
  std::string archive;
  std::string destination;
  bool typesGiven = false;
  std::vector<std::string> types;
  bool png = false;
  bool rect = false;
  bool emptyFolders = false;
  bool midi = false;
  bool pcx = false;
  OverwriteMode overwrite = OverwriteMode::Ask;
  bool quiet = false;
};

bool SplitTypes(const std::string& list, std::vector<std::string>& types) {
  types.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    const std::string type = list.substr(start, comma - start);
    if (type.empty()) return false;
    types.push_back(type);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// Returns false after printing a usage error.
bool ParseExtractArgs(const std::vector<std::string>& args, ExtractArgs& out) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (const auto& arg : args) {
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg.rfind("--types=", 0) == 0) {
      out.typesGiven = true;
      if (!SplitTypes(arg.substr(8), out.types)) {
        UsageError("extract: --types needs a comma-separated list of types, e.g. --types=PID,WAV");
        return false;
      }
    } else if (arg == "--png") {
      out.png = true;
    } else if (arg == "--rect") {
      out.rect = true;
    } else if (arg == "--empty-folders") {
      out.emptyFolders = true;
    } else if (arg == "--midi") {
      out.midi = true;
    } else if (arg == "--pcx") {
      out.pcx = true;
    } else if (arg == "--quiet") {
      out.quiet = true;
    } else if (arg == "--overwrite=ask") {
      out.overwrite = OverwriteMode::Ask;
    } else if (arg == "--overwrite=all") {
      out.overwrite = OverwriteMode::All;
    } else if (arg == "--overwrite=never") {
      out.overwrite = OverwriteMode::Never;
    } else if (arg.rfind("--overwrite", 0) == 0) {
      UsageError("extract: --overwrite takes ask, all or never");
      return false;
    } else {
      UsageError("extract: unknown option '" + arg + "'");
      return false;
    }
  }
  if (positional.size() != 2) {
    UsageError(positional.size() < 2 ? "extract: needs an archive and a destination folder"
                                     : "extract: too many arguments");
    return false;
  }
  if (out.rect && !out.png) {
    UsageError("extract: --rect works only together with --png");
    return false;
  }
  out.archive = positional[0];
  out.destination = positional[1];
  return true;
}

ExtractOptions BuildOptions(const ExtractArgs& args, const std::vector<TypeStat>& stats) {
  ExtractOptions options;
  options.convertPid = args.png;
  options.rectConversion = args.rect;
  options.extractEmptyFolders = args.emptyFolders;
  options.convertXmi = args.midi;
  options.convertPcx = args.pcx;
  options.overwriteAll = args.overwrite == OverwriteMode::All;
  for (const auto& stat : stats) {
    const bool selected = !args.typesGiven || std::find(args.types.begin(), args.types.end(),
                                                        stat.extension) != args.types.end();
    options.types.push_back(TypeChoice{stat.extension, selected});
    if (selected) options.fileCount += stat.count;
  }
  return options;
}

std::atomic<bool> interrupted{false};
// The running job's cancel flag: stopping it from the handler itself means no
// further file is begun, however the threads are scheduled.
std::atomic<std::atomic<bool>*> cancelOnInterrupt{nullptr};
static_assert(std::atomic<bool>::is_always_lock_free, "flags are set from a signal handler");

extern "C" void OnInterrupt(int) {
  interrupted.store(true);
  if (std::atomic<bool>* cancel = cancelOnInterrupt.load()) cancel->store(true);
}

// Ctrl-C stops the job between two files instead of killing it in the middle
// of one; a second Ctrl-C ends the program at once.
void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESETHAND;  // no SA_RESTART: a question waiting for input gives up
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int RunExtract(const std::vector<std::string>& args) {
  ExtractArgs parsed;
  if (!ParseExtractArgs(args, parsed)) return kExitUsage;

  std::shared_ptr<REZ::Parser> archive = OpenArchive(parsed.archive);
  if (!archive) return kExitUsage;

  std::vector<TypeStat> stats;
  CollectTypeStats(stats, archive->Root());
  for (const auto& type : parsed.types) {
    const bool present = std::any_of(stats.begin(), stats.end(),
                                     [&](const TypeStat& stat) { return stat.extension == type; });
    if (!present)
      std::fprintf(stderr, "tarnwick-cli: %s: no files of type '%s'\n", parsed.archive.c_str(),
                   type.c_str());
  }
  const ExtractOptions options = BuildOptions(parsed, stats);

  std::error_code error;
  std::filesystem::create_directories(parsed.destination, error);
  if (error) {
    std::fprintf(stderr, "tarnwick-cli: %s: %s\n", parsed.destination.c_str(),
                 error.message().c_str());
    return kExitPartial;
  }

  DetectGame(*archive);
  if (parsed.png) InitImageLibrary();
  SetDiagnosticsEnabled(!parsed.quiet);

  const bool showProgress = ::isatty(STDERR_FILENO) == 1;
  TerminalOutput output(stderr, showProgress);
  std::optional<StdoutRelay> relay;
  if (showProgress && ::isatty(STDOUT_FILENO) == 1) relay.emplace(output);
  auto questions = std::make_shared<TerminalQuestions>(parsed.overwrite, output, stdin);
  auto job = MakeExtractJob(parsed.archive, parsed.destination, archive, options, questions);

  cancelOnInterrupt.store(&job->cancelled);
  CatchInterrupt();
  const auto started = std::chrono::steady_clock::now();
  std::thread worker(workerMain, job);
  // Ctrl-C goes to the worker (it started with SIGINT open), so that a
  // question waiting for its answer line is interrupted and reads as "no".
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
  auto nextDraw = started;
  while (!job->IsDone()) {
    if (interrupted.load()) job->Cancel();
    const auto now = std::chrono::steady_clock::now();
    if (now >= nextDraw) {
      job->progress.Lock();
      const bool changed = job->progress.IsChanged();
      const std::int32_t current = changed ? job->progress.GetCurrent() : 0;
      const std::int32_t total = changed ? job->progress.GetTotal() : 0;
      job->progress.Unlock();
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - started);
      output.ShowProgress(current, total, elapsed.count());
      nextDraw = now + std::chrono::milliseconds(100);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  worker.join();
  output.ClearProgress();
  relay.reset();
  signal(SIGINT, SIG_DFL);
  cancelOnInterrupt.store(nullptr);
  pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);

  const ExtractResult& result = job->Result();
  switch (result.status) {
    case ExtractStatus::Succeeded:
      return kExitOk;
    case ExtractStatus::Cancelled:
      output.Print("tarnwick-cli: interrupted after " + std::to_string(result.Processed()) +
                   " of " + std::to_string(options.fileCount) + " files");
      return kExitPartial;
    case ExtractStatus::SucceededWithErrors:
      output.Print("tarnwick-cli: " + std::to_string(result.failed) + " of " +
                   std::to_string(options.fileCount) + " files could not be extracted");
      return kExitPartial;
    default:
      // The reason has been reported already.
      return kExitPartial;
  }
}

}  // namespace cli
