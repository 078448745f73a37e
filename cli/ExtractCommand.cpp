#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "archive/ArchiveStats.h"
#include "cli/Commands.h"
#include "cli/OpenArchive.h"
#include "cli/PaletteOption.h"
#include "cli/StdoutRelay.h"
#include "cli/TerminalQuestions.h"
#include "cli/Usage.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "extract/EntryNames.h"
#include "extract/ExtractWorker.h"
#include "text/Windows1252.h"

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
  std::optional<std::string> palette;
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

// One row per option: its name, whether it takes "=VALUE", and what it does.
// apply returns the usage error text, or nothing when the option is fine.
struct OptionRule {
  const char* name;
  bool takesValue;
  std::function<std::optional<std::string>(ExtractArgs&, const std::string& value)> apply;
};

std::optional<std::string> Set(bool& flag) {
  flag = true;
  return std::nullopt;
}

const std::vector<OptionRule>& ExtractOptionRules() {
  static const std::vector<OptionRule> rules = {
      {"--types", true,
       [](ExtractArgs& a, const std::string& value) -> std::optional<std::string> {
         a.typesGiven = true;
         if (SplitTypes(value, a.types)) return std::nullopt;
         return "--types needs a comma-separated list of types, e.g. --types=PID,WAV";
       }},
      {"--png", false, [](ExtractArgs& a, const std::string&) { return Set(a.png); }},
      {"--rect", false, [](ExtractArgs& a, const std::string&) { return Set(a.rect); }},
      {"--empty-folders", false,
       [](ExtractArgs& a, const std::string&) { return Set(a.emptyFolders); }},
      {"--midi", false, [](ExtractArgs& a, const std::string&) { return Set(a.midi); }},
      {"--pcx", false, [](ExtractArgs& a, const std::string&) { return Set(a.pcx); }},
      {"--quiet", false, [](ExtractArgs& a, const std::string&) { return Set(a.quiet); }},
      {"--palette", true,
       [](ExtractArgs& a, const std::string& value) -> std::optional<std::string> {
         if (value.empty()) return "--palette needs a palette entry of the archive or a .PAL file";
         a.palette = value;
         return std::nullopt;
       }},
      {"--overwrite", true,
       [](ExtractArgs& a, const std::string& value) -> std::optional<std::string> {
         if (value == "ask")
           a.overwrite = OverwriteMode::Ask;
         else if (value == "all")
           a.overwrite = OverwriteMode::All;
         else if (value == "never")
           a.overwrite = OverwriteMode::Never;
         else
           return "--overwrite takes ask, all or never";
         return std::nullopt;
       }},
  };
  return rules;
}

// Returns false after printing a usage error.
bool ParseExtractArgs(const std::vector<std::string>& args, ExtractArgs& out) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (const auto& arg : args) {
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const auto rule = std::find_if(ExtractOptionRules().begin(), ExtractOptionRules().end(),
                                   [&](const OptionRule& r) { return name == r.name; });
    if (rule == ExtractOptionRules().end() || (!rule->takesValue && equals != std::string::npos)) {
      UsageError("extract: unknown option '" + arg + "'");
      return false;
    }
    const std::string value = equals == std::string::npos ? "" : arg.substr(equals + 1);
    if (const auto problem = rule->apply(out, value)) {
      UsageError("extract: " + *problem);
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

// The types chosen by --types (all without it); nothing after a usage error.
std::optional<std::vector<bool>> SelectedTypes(const ExtractArgs& args,
                                               const std::vector<TypeStat>& stats) {
  std::vector<bool> selected;
  bool any = false;
  for (const auto& stat : stats) {
    const bool on = !args.typesGiven || std::find(args.types.begin(), args.types.end(),
                                                  stat.extension) != args.types.end();
    selected.push_back(on);
    any = any || on;
  }
  if (args.typesGiven && !any && !stats.empty()) {
    std::string held;
    for (const auto& stat : stats)
      held += (held.empty() ? "" : ",") + PrintableName(text::Utf8FromWindows1252(stat.extension));
    UsageError("extract: --types names no type of " + args.archive + "; it holds " + held);
    return std::nullopt;
  }
  for (const auto& type : args.types) {
    const bool present = std::any_of(stats.begin(), stats.end(),
                                     [&](const TypeStat& stat) { return stat.extension == type; });
    if (!present)
      std::fprintf(stderr, "tarnwick-cli: %s: no files of type '%s'\n", args.archive.c_str(),
                   type.c_str());
  }
  return selected;
}

}  // namespace

int RunExtract(const std::vector<std::string>& args) {
  // Ctrl-C is taken by the main thread alone (below), never by a signal
  // handler: blocked before any other thread exists, so every thread inherits
  // the block and no interrupt is lost or lands on the worker.
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);

  ExtractArgs parsed;
  if (!ParseExtractArgs(args, parsed)) return kExitUsage;

  std::shared_ptr<REZ::Parser> archive = OpenArchive(parsed.archive);
  if (!archive) return kExitUsage;

  std::vector<TypeStat> stats;
  CollectTypeStats(stats, archive->Root());
  const auto selected = SelectedTypes(parsed, stats);
  if (!selected) return kExitUsage;
  ExtractOptions options =
      MakeExtractOptions(stats, *selected, parsed.png, parsed.rect, parsed.emptyFolders);
  options.overwriteAll = parsed.overwrite == OverwriteMode::All;
  options.convertXmi = parsed.midi;
  options.convertPcx = parsed.pcx;
  if (parsed.palette) {
    std::string why;
    options.fallbackPalette = LoadPaletteOption(*parsed.palette, *archive, why);
    if (!options.fallbackPalette) {
      UsageError("extract: --palette: " + why);
      return kExitUsage;
    }
  }

  std::error_code error;
  std::filesystem::create_directories(parsed.destination, error);
  if (error) {
    std::fprintf(stderr, "tarnwick-cli: %s: %s\n", parsed.destination.c_str(),
                 error.message().c_str());
    return kExitPartial;
  }

  if (parsed.png || parsed.pcx) InitImageLibrary();
  SetDiagnosticsEnabled(!parsed.quiet);

  const bool showProgress = ::isatty(STDERR_FILENO) == 1;
  TerminalOutput output(stderr, showProgress);
  std::optional<StdoutRelay> relay;
  if (showProgress && ::isatty(STDOUT_FILENO) == 1) relay.emplace(output);
  std::atomic<bool> interrupted{false};
  auto questions =
      std::make_shared<TerminalQuestions>(parsed.overwrite, output, STDIN_FILENO, interrupted);
  auto job = MakeExtractJob(parsed.archive, parsed.destination, archive, options, questions,
                            ConversionContext{GameOf(*archive), std::nullopt});

  const auto started = std::chrono::steady_clock::now();
  std::thread worker(workerMain, job);
  auto nextDraw = started;
  const timespec noWait{0, 0};
  while (!job->IsDone()) {
    if (sigtimedwait(&interrupt, nullptr, &noWait) == SIGINT) {
      // The first stops the job between two files (and any question waiting
      // for its answer); a second ends the program at once.
      if (interrupted.exchange(true)) {
        signal(SIGINT, SIG_DFL);
        pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);
        raise(SIGINT);
      }
      job->Cancel();
    }
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
