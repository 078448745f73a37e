// The open-file dialog: the desktop's own chooser (zenity or kdialog) when one
// can be started, else the program's own chooser drawn in its window. While it
// is open the main window keeps drawing and ignores input.
#pragma once

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
};

// The chosen file, which exists; nothing when the user cancels.
std::optional<std::string> ShowOpenFileDialog(const OpenFileOptions& options);

// Glob patterns of a filter for a case-sensitive file system: each pattern in
// lower and in upper case; "*.*" (all files) becomes "*".
std::vector<std::string> CaseGlobs(const std::string& patterns);
// Command lines of the desktop choosers, program name first.
std::vector<std::string> ZenityCommand(const OpenFileOptions& options);
std::vector<std::string> KdialogCommand(const OpenFileOptions& options);
// The file named by a chooser's output (one path and a line break): the path
// itself, or with the default extension added when only that exists; nothing
// when no such file exists.
std::optional<std::string> ExistingChosenFile(const std::string& output,
                                              const OpenFileOptions& options);

}  // namespace platform
