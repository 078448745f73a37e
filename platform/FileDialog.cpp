#include "platform/FileDialog.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <system_error>
#include <thread>

#include "platform/Display.h"
#include "platform/Modal.h"
#include "platform/hge.h"

extern char** environ;

namespace fs = std::filesystem;

namespace platform {
namespace {

std::vector<std::string> SplitPatterns(const std::string& patterns) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string pattern = patterns.substr(start, end - start);
    const auto first = pattern.find_first_not_of(' ');
    const auto last = pattern.find_last_not_of(' ');
    if (first != std::string::npos) out.push_back(pattern.substr(first, last - first + 1));
    start = end + 1;
  }
  return out;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const std::string& part : parts) {
    if (!out.empty()) out += separator;
    out += part;
  }
  return out;
}

enum class ChooserResult { kChosen, kCancelled, kUnavailable };

struct ChooserRun {
  ChooserResult result = ChooserResult::kUnavailable;
  std::string output;
};

// Output and exit status of a finished child.
struct Finished {
  std::string output;
  int status = -1;
};

Finished Collect(int pipeFd, pid_t child) {
  Finished finished;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipeFd, buffer, sizeof buffer);
    if (got > 0) {
      // A path is short; anything far longer is not a chooser's answer.
      if (finished.output.size() < (1u << 20)) finished.output.append(buffer, got);
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeFd);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return finished;
}

// Starts the chooser and keeps the main window drawing until it ends.
ChooserRun RunDesktopChooser(const std::vector<std::string>& command) {
  ChooserRun run;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (failed) {
    close(fds[0]);
    return run;
  }

  ModalScope modal;
  HGE* hge = hgeCreate(HGE_VERSION);
  auto finished = std::async(std::launch::async, Collect, fds[0], child);
  using namespace std::chrono;
  while (finished.wait_for(seconds(0)) != std::future_status::ready) {
    const auto before = steady_clock::now();
    if (hge) {
      hge->System_NextModalFrame();
      hge->System_Redraw();
    }
    // An engine without a frame loop returns at once: wait here instead.
    if (steady_clock::now() - before < milliseconds(5)) finished.wait_for(milliseconds(30));
  }
  const Finished result = finished.get();
  run.output = result.output;
  if (result.status == 0)
    run.result = ChooserResult::kChosen;
  else if (result.status == 1)
    run.result = ChooserResult::kCancelled;
  return run;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

BuiltInChooser& InstalledChooser() {
  static BuiltInChooser chooser;
  return chooser;
}

bool FoundOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  const std::string folders = path;
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = folders.substr(start, end - start);
    if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

bool DesktopIsKde() {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return desktop && std::string(desktop).find("KDE") != std::string::npos;
}

}  // namespace

std::vector<std::string> CaseGlobs(const std::string& patterns) {
  std::vector<std::string> out;
  for (const std::string& pattern : SplitPatterns(patterns)) {
    if (pattern == "*.*" || pattern == "*") return {"*"};
    for (const std::string& variant : {Lower(pattern), Upper(pattern)})
      if (std::find(out.begin(), out.end(), variant) == out.end()) out.push_back(variant);
  }
  return out;
}

std::string StartFolder(const OpenFileOptions& options) {
  std::error_code error;
  if (!options.startPath.empty()) {
    const fs::path path(options.startPath);
    if (fs::is_directory(path, error)) return fs::absolute(path, error).string();
    const fs::path parent = path.parent_path();
    if (!parent.empty() && fs::is_directory(parent, error))
      return fs::absolute(parent, error).string();
  }
  const char* home = std::getenv("HOME");
  if (home && *home && fs::is_directory(home, error)) return home;
  return "/";
}

std::vector<std::string> ZenityCommand(const OpenFileOptions& options) {
  std::vector<std::string> command = {"zenity", "--file-selection"};
  if (!options.title.empty()) command.push_back("--title=" + options.title);
  command.push_back("--filename=" + StartFolder(options) + "/");
  if (options.chooseFolder) {
    command.push_back("--directory");
    return command;
  }
  // zenity selects its first filter, so the chosen one goes first.
  const std::size_t count = options.filters.size();
  for (std::size_t i = 0; i < count; ++i) {
    const FileFilter& filter = options.filters[(options.selectedFilter + i) % count];
    command.push_back("--file-filter=" + filter.description + " | " +
                      Joined(CaseGlobs(filter.patterns), " "));
  }
  return command;
}

std::vector<std::string> KdialogCommand(const OpenFileOptions& options) {
  std::vector<std::string> command = {"kdialog"};
  if (!options.title.empty()) {
    command.push_back("--title");
    command.push_back(options.title);
  }
  if (options.chooseFolder) {
    command.push_back("--getexistingdirectory");
    command.push_back(StartFolder(options));
    return command;
  }
  std::vector<std::string> filters;
  const std::size_t count = options.filters.size();
  for (std::size_t i = 0; i < count; ++i) {
    const FileFilter& filter = options.filters[(options.selectedFilter + i) % count];
    filters.push_back(Joined(CaseGlobs(filter.patterns), " ") + "|" + filter.description);
  }
  command.push_back("--getopenfilename");
  command.push_back(StartFolder(options));
  command.push_back(Joined(filters, "\n"));
  return command;
}

std::optional<std::string> ExistingChosenFile(const std::string& output,
                                              const OpenFileOptions& options) {
  std::string path = output;
  if (!path.empty() && path.back() == '\n') path.pop_back();
  if (path.empty() || path.find('\n') != std::string::npos) return std::nullopt;
  std::error_code error;
  if (options.chooseFolder)
    return fs::is_directory(path, error) ? std::optional<std::string>(path) : std::nullopt;
  if (fs::is_regular_file(path, error)) return path;
  const fs::path asPath(path);
  if (!options.defaultExtension.empty() && !asPath.has_extension()) {
    const std::string withExtension = path + "." + options.defaultExtension;
    if (fs::is_regular_file(withExtension, error)) return withExtension;
  }
  return std::nullopt;
}

std::optional<std::string> ShowOpenFileDialog(const OpenFileOptions& options) {
  if (DisplaysNamed().Any()) {
    std::vector<std::vector<std::string>> choosers = {ZenityCommand(options),
                                                      KdialogCommand(options)};
    if (DesktopIsKde()) std::swap(choosers[0], choosers[1]);
    for (const auto& command : choosers) {
      const ChooserRun run = RunDesktopChooser(command);
      if (run.result == ChooserResult::kCancelled) return std::nullopt;
      if (run.result == ChooserResult::kChosen) return ExistingChosenFile(run.output, options);
    }
  }
  const BuiltInChooser chooser = InstalledChooser();
  if (!chooser) return std::nullopt;
  return chooser(options);
}

void SetBuiltInChooser(BuiltInChooser chooser) {
  InstalledChooser() = std::move(chooser);
}

bool CanOpenInFileManager() {
  return DisplaysNamed().Any() && FoundOnPath("xdg-open");
}

void OpenInFileManager(const std::string& folder) {
  // As typed, "https://x" would open a web page and "-x" be read as an
  // option; an absolute path is always a path.
  std::error_code error;
  const fs::path absolute = fs::absolute(folder, error);
  if (error || folder.empty()) return;
  std::vector<std::string> command = {"xdg-open", absolute.lexically_normal().string()};
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  // xdg-open hands the folder over and ends; a thread collects it so that no
  // zombie is left behind.
  if (!failed)
    std::thread([child] {
      int status = 0;
      while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
}

}  // namespace platform
