// The open-file and choose-folder dialogs: the desktop's own chooser (zenity
// or kdialog) when one can be started, else the program's own chooser drawn
// in its window, which the layers above install as a hook. While a desktop
// chooser is open the main window keeps drawing and ignores input.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FileFilter {
  std::string description;  // "Monolith's Resource (*.REZ)"
  std::string patterns;     // "*.rez", several joined by ';'
};

struct OpenFileOptions {
  std::vector<FileFilter> filters;
  std::size_t selectedFilter = 0;
  std::string defaultExtension;  // without the dot: appended to a chosen name that has none
  std::string title;             // empty: the chooser's own
  bool chooseFolder = false;     // a folder, not a file; filters do not apply
  // Where the chooser starts: the folder of this path (or the path itself when
  // it is a folder); the home folder when it names neither.
  std::string startPath;
};

// The folder a chooser opens in for options.startPath.
std::string StartFolder(const OpenFileOptions& options);

// The chosen file (or folder), which exists; nothing when the user cancels.
std::optional<std::string> ShowOpenFileDialog(const OpenFileOptions& options);

// The program's own chooser, run when no desktop chooser can be started; none
// installed: nothing can be chosen.
using BuiltInChooser = std::function<std::optional<std::string>(const OpenFileOptions&)>;
void SetBuiltInChooser(BuiltInChooser chooser);

// Whether a file manager can be asked to show a folder (xdg-open is found).
bool CanOpenInFileManager();
// Asks the desktop's file manager to show folder, made absolute (nothing when
// it cannot be); does not wait for it.
void OpenInFileManager(const std::string& folder);

// Glob patterns of a filter for a case-sensitive file system: each pattern in
// lower and in upper case; "*.*" (all files) becomes "*".
std::vector<std::string> CaseGlobs(const std::string& patterns);
// Command lines of the desktop choosers, program name first.
std::vector<std::string> ZenityCommand(const OpenFileOptions& options);
std::vector<std::string> KdialogCommand(const OpenFileOptions& options);
// What a chooser's output (one path and a line break) names: the path itself,
// or with the default extension added when only that exists; nothing when no
// such file (or folder, when one was asked for) exists.
std::optional<std::string> ExistingChosenFile(const std::string& output,
                                              const OpenFileOptions& options);

}  // namespace platform
