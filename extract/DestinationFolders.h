// The destination as the worker writes into it: folders made and held open
// from the destination down, and every output put there through the
// overwrite rule and the one writer (FileWriter.h).
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "extract/ExtractJob.h"

// Tells the user of a problem and counts it.
void ReportProblem(ExtractJob& job, const std::string& message);
// A path on disk as reports show it.
std::string ShownPath(const std::filesystem::path& path);

// The text of the overwrite question for the file name (as written on disk)
// in the folder shown as displayPath.
std::string OverwriteQuestionText(const std::string& name, const std::string& displayPath);

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd(fd) {}
  ~Descriptor();
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  // Closes the descriptor held so far and holds newFd.
  void Hold(int newFd);

 private:
  int fd;
};

// A folder of the destination, open while the walk is inside it.
struct OpenFolder {
  std::string displayPath;      // the archive's path, e.g. "\\LEVEL1\IMAGES"
  std::filesystem::path shown;  // where it is on disk, for reports only
  int fd = -1;
  // Where the walk made it, to notice a folder swapped during the run; no
  // parent for the destination itself.
  const OpenFolder* parent = nullptr;
  std::string name;
  struct stat identity {};
  bool replaced = false;
  CommonCanvas canvas;
};

// Opens the job's destination (which may be a symbolic link); -1 after
// reporting why nothing can be written. shown receives its absolute path.
int OpenDestination(ExtractJob& job, std::filesystem::path& shown);

// Makes (when missing) and opens the folder name inside parent without
// following a symbolic link; -1 after reporting why not. existed tells
// whether the folder was there before.
int MakeFolder(ExtractJob& job, const OpenFolder& parent, const std::string& name,
               const std::filesystem::path& shown, bool& existed);

// False once the folder is no longer where the walk made it (moved, or
// swapped for a symbolic link); reported once.
bool StillInPlace(ExtractJob& job, OpenFolder& folder);

// Fills bytes with an output's content, or reports why it cannot and returns false.
using Producer = std::function<bool(std::vector<unsigned char>& bytes)>;

// Every output, whatever it was made from, goes through here: what is in its
// place is checked, an existing file is asked about (or kept, or replaced
// with overwrite-all), then produce is run and its bytes written. Counts the
// file as written, kept or failed in the job's result.
void WriteOutput(ExtractJob& job, OpenFolder& folder, const std::string& diskName,
                 const Producer& produce);

enum class OutputOutcome { Written, Kept, Failed };
void Count(ExtractResult& result, OutputOutcome outcome);
// WriteOutput without the counting, for an entry that makes several files
// and is counted once.
OutputOutcome WriteOneOutput(ExtractJob& job, OpenFolder& folder, const std::string& diskName,
                             const Producer& produce);
