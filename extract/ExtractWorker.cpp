#include "extract/ExtractWorker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <new>
#include <optional>
#include <thread>

#include "extract/ConvertedOutput.h"
#include "extract/EntryNames.h"
#include "extract/FileWriter.h"
#include "extract/PngOutput.h"

namespace {

// The one place an archive name becomes the name of a file or folder on disk;
// none when the name could leave its folder.
std::optional<std::string> DiskNameFor(const std::string& archiveName) {
  if (!IsSafeEntryName(archiveName)) return std::nullopt;
  return archiveName;
}

// The one place a PID entry's PNG name is made.
std::optional<std::string> PngDiskNameFor(const std::string& archiveName) {
  return DiskNameFor(REZ::ReplaceAll(archiveName, "PID", "png"));
}

void Report(ExtractJob& job, const std::string& message) {
  ++job.result.problems;
  job.questions->ReportFailure(message);
}

std::string Quoted(const std::string& name) {
  return "\"" + PrintableName(name) + "\"";
}

std::string Shown(const std::filesystem::path& path) {
  return PrintableName(path.string());
}

std::string SystemReason(int error) {
  return std::strerror(error);
}

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd(fd) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  void Hold(int newFd) {
    if (fd >= 0) ::close(fd);
    fd = newFd;
  }

 private:
  int fd;
};

// A folder of the destination, open while the walk is inside it.
struct OpenFolder {
  std::string displayPath;      // the archive's path, e.g. "\LEVEL1\IMAGES"
  std::filesystem::path shown;  // where it is on disk, for reports only
  int fd = -1;
  // Where the walk made it, to notice a folder swapped during the run; no
  // parent for the destination itself.
  const OpenFolder* parent = nullptr;
  std::string name;
  struct stat identity {};
  bool replaced = false;
  CanvasSize canvas;
};

void AddToCurrent(ExtractJob& job, std::int64_t files) {
  job.progress.Lock();
  const std::int64_t next = std::int64_t{job.progress.GetCurrent()} + files;
  job.progress.SetCurrent(static_cast<std::int32_t>(
      std::min<std::int64_t>(next, std::numeric_limits<std::int32_t>::max())));
  job.progress.Unlock();
}

std::int64_t CountSelected(ExtractJob& job, const REZ::Dir& folder) {
  std::int64_t count = 0;
  for (const auto& child : folder.children) {
    if (child->IsDir()) {
      count += CountSelected(job, static_cast<const REZ::Dir&>(*child));
    } else if (const auto extension = REZ::FileExtension(child->name)) {
      if (IsTypeSelected(job.options, *extension)) ++count;
    }
  }
  job.selectedInSubtree[&folder] = count;
  return count;
}

std::int64_t SelectedInSubtree(ExtractJob& job, const REZ::Dir& folder) {
  const auto known = job.selectedInSubtree.find(&folder);
  if (known != job.selectedInSubtree.end()) return known->second;
  return CountSelected(job, folder);
}

// A folder that cannot be made is not entered; its selected files are counted
// as failed so that the counter still reaches the total.
void FailSubtree(ExtractJob& job, const REZ::Dir& folder) {
  const std::int64_t files = SelectedInSubtree(job, folder);
  if (files == 0) return;
  job.result.failed += static_cast<std::int32_t>(files);
  AddToCurrent(job, files);
}

bool StopRequested(ExtractJob& job) {
  if (!job.cancelled.load()) return false;
  job.stoppedEarly = true;
  return true;
}

// Waits while the job is paused. False when the job was cancelled.
bool PausePoint(ExtractJob& job) {
  while (job.paused.load() && !job.cancelled.load())
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return !StopRequested(job);
}

// Makes (when missing) and opens the folder name inside parent without
// following a symbolic link; -1 after reporting why not.
int MakeFolder(ExtractJob& job, const OpenFolder& parent, const std::string& name,
               const std::filesystem::path& shown, bool& existed) {
  existed = false;
  if (::mkdirat(parent.fd, name.c_str(), 0777) != 0) {
    if (errno != EEXIST) {
      Report(job, "cannot create folder " + Shown(shown) + ": " + SystemReason(errno));
      return -1;
    }
    existed = true;
  }
  const int fd = ::openat(parent.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) return fd;
  const int error = errno;
  struct stat info;
  if (::fstatat(parent.fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISLNK(info.st_mode)) {
      Report(job, "refused to enter " + Shown(shown) + ": it is a symbolic link");
      return -1;
    }
    if (!S_ISDIR(info.st_mode)) {
      Report(job, "cannot create folder " + Shown(shown) + ": a file of that name is in the way");
      return -1;
    }
  }
  Report(job, "cannot open folder " + Shown(shown) + ": " + SystemReason(error));
  return -1;
}

// False once the folder is no longer where the walk made it (moved, or
// swapped for a symbolic link); reported once.
bool StillInPlace(ExtractJob& job, OpenFolder& folder) {
  if (folder.replaced) return false;
  if (folder.parent == nullptr) return true;
  struct stat now;
  if (::fstatat(folder.parent->fd, folder.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
      now.st_dev == folder.identity.st_dev && now.st_ino == folder.identity.st_ino)
    return true;
  folder.replaced = true;
  Report(job, "folder " + Shown(folder.shown) +
                  " was moved or replaced during the extraction; nothing more is written in it");
  return false;
}

enum class TargetState { Free, Occupied, Refused };

// What sits where a file is to be written. Refusals are reported here.
TargetState InspectTarget(ExtractJob& job, const OpenFolder& folder, const std::string& name) {
  const std::filesystem::path shown = folder.shown / name;
  struct stat info;
  if (::fstatat(folder.fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return TargetState::Free;
    Report(job, "cannot write " + Shown(shown) + ": " + SystemReason(errno));
    return TargetState::Refused;
  }
  if (S_ISLNK(info.st_mode)) {
    Report(job, "refused to write " + Shown(shown) + ": a symbolic link is in its place");
    return TargetState::Refused;
  }
  if (S_ISDIR(info.st_mode)) {
    Report(job, "cannot write " + Shown(shown) + ": " + SystemReason(EISDIR));
    return TargetState::Refused;
  }
  return TargetState::Occupied;
}

// Fills bytes with an output's content, or reports why it cannot and returns false.
using Producer = std::function<bool(std::vector<unsigned char>& bytes)>;

// Every output, whatever it was made from, goes through here: the overwrite
// rule, then the one writer.
OutputOutcome WriteOutput(ExtractJob& job, OpenFolder& folder, const std::string& diskName,
                          const Producer& produce) {
  const TargetState state = InspectTarget(job, folder, diskName);
  if (state == TargetState::Refused) return OutputOutcome::Failed;
  WriteRule rule = job.options.overwriteAll ? WriteRule::Replace : WriteRule::KeepExisting;
  if (state == TargetState::Occupied && !job.options.overwriteAll) {
    switch (job.questions->AskOverwrite(OverwriteQuestionText(diskName, folder.displayPath))) {
      case OverwriteAnswer::No:
        return OutputOutcome::Kept;
      case OverwriteAnswer::OverwriteAll:
        job.options.overwriteAll = true;
        break;
      case OverwriteAnswer::Yes:
        break;
    }
    rule = WriteRule::Replace;
  }
  std::vector<unsigned char> bytes;
  if (!produce(bytes)) return OutputOutcome::Failed;
  const WriteOutcome outcome = WriteFileAt(folder.fd, diskName, bytes.data(), bytes.size(), rule);
  if (outcome.kind == WriteOutcome::Written) return OutputOutcome::Written;
  // One that appeared while this one was made is kept: nobody agreed to replace it.
  if (outcome.kind == WriteOutcome::Existed) return OutputOutcome::Kept;
  Report(job, "cannot write " + Shown(folder.shown / diskName) + ": " + outcome.reason);
  return OutputOutcome::Failed;
}

// An entry converted to files of its own, counted once.
void ConvertFile(ExtractJob& job, const REZ::File& file, OpenFolder& folder, Converter convert) {
  std::string error;
  const auto write = [&](const std::string& name, std::vector<unsigned char>& bytes) {
    return WriteOutput(job, folder, name, [&](std::vector<unsigned char>& out) {
      out.swap(bytes);
      return true;
    });
  };
  const OutputOutcome outcome = WriteConverted(file.name, file.GetData(), convert, write, error);
  if (!error.empty())
    Report(job, "cannot convert " + Quoted(file.name) + " in " + folder.displayPath + ": " + error);
  Count(job.result, outcome);
}

void ProcessFile(ExtractJob& job, const REZ::File& file, const std::string& extension,
                 OpenFolder& folder) {
  const bool toPng = extension == "PID" && job.options.convertPid;
  const auto diskName = toPng ? PngDiskNameFor(file.name) : DiskNameFor(file.name);
  try {
    if (!diskName) {
      Report(job, folder.displayPath + ": refused the " + (toPng ? "picture" : "file") + " name " +
                      Quoted(file.name) + ": it is not a plain file name");
      ++job.result.failed;
    } else if (!StillInPlace(job, folder)) {
      ++job.result.failed;
    } else if (const Converter convert = ConverterFor(extension, job.options)) {
      ConvertFile(job, file, folder, convert);
    } else if (toPng) {
      Count(job.result, WriteOutput(job, folder, *diskName, [&](std::vector<unsigned char>& bytes) {
              const std::vector<unsigned char> pid = file.GetData();
              std::string failure;
              auto png = EncodeAsking(
                  *job.questions, job.paused, file.name,
                  [&] { return EncodePidAsPng(pid, job.context, folder.canvas); }, failure);
              if (!png) {
                Report(job, "cannot convert " + Quoted(file.name) + " in " + folder.displayPath +
                                ": " + failure);
                return false;
              }
              bytes = std::move(*png);
              return true;
            }));
    } else {
      Count(job.result, WriteOutput(job, folder, *diskName, [&](std::vector<unsigned char>& bytes) {
              bytes = file.GetData();
              return true;
            }));
    }
  } catch (const REZ::Exception& e) {
    Report(job, "cannot read " + Quoted(file.name) + " in " + folder.displayPath +
                    " from the archive: " + e.message +
                    (e.detail.empty() ? "" : " (" + e.detail + ")"));
    ++job.result.failed;
  } catch (const std::bad_alloc&) {
    Report(job,
           "cannot extract " + Quoted(file.name) + " in " + folder.displayPath + ": out of memory");
    ++job.result.failed;
  }
  AddToCurrent(job, 1);
}

// Runs a step whose failure should not end the walk (it reads the archive).
template <typename Step>
void Tolerate(ExtractJob& job, const std::string& what, Step step) {
  try {
    step();
  } catch (const REZ::Exception& e) {
    Report(job, what + ": " + e.message + (e.detail.empty() ? "" : " (" + e.detail + ")"));
  } catch (const std::bad_alloc&) {
    Report(job, what + ": out of memory");
  }
}

// The destination opened, or -1 after reporting why nothing can be written.
int OpenDestination(ExtractJob& job, std::filesystem::path& shown) {
  const auto fail = [&](const std::string& message) {
    job.result.fatalMessage = message;
    Report(job, message);
    return -1;
  };
  if (job.destinationPath.empty()) return fail("no destination folder given");
  std::error_code error;
  shown = std::filesystem::absolute(job.destinationPath, error);
  if (error)
    return fail("destination folder " + Shown(job.destinationPath) + ": " + error.message());
  // The destination itself may be a symbolic link; nothing below it may.
  const int fd = ::open(job.destinationPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return fail("destination folder " + Shown(shown) + " does not exist");
    if (errno == ENOTDIR) return fail("destination " + Shown(shown) + " is not a folder");
    return fail("destination folder " + Shown(shown) + ": " + SystemReason(errno));
  }
  if (const auto reason = CannotWriteIn(fd)) {
    ::close(fd);
    return fail("destination folder " + Shown(shown) + " cannot be written: " + *reason);
  }
  return fd;
}

enum class FolderLevel { Root, TopLevel, Deeper };

void ExtractFolder(ExtractJob& job, const REZ::Dir& folder, OpenFolder* parent, FolderLevel level,
                   OpenFolder& here) {
  if (StopRequested(job)) return;
  const bool hasSelected = HasSelectedFiles(job, folder);
  if (!hasSelected && !job.options.extractEmptyFolders) return;

  Descriptor own;
  if (level != FolderLevel::Root) {
    here.displayPath = parent->displayPath + "\\" + folder.name;
    const auto diskName = DiskNameFor(folder.name);
    if (!diskName) {
      Report(job, parent->displayPath + ": refused the folder name " + Quoted(folder.name) +
                      ": it is not a plain folder name; nothing below it is extracted");
      FailSubtree(job, folder);
      return;
    }
    here.shown = parent->shown / *diskName;
    here.name = *diskName;
    here.parent = parent;
    bool existed = false;
    if (StillInPlace(job, *parent))
      here.fd = MakeFolder(job, *parent, *diskName, here.shown, existed);
    if (here.fd < 0) {
      FailSubtree(job, folder);
      return;
    }
    own.Hold(here.fd);
    if (::fstat(here.fd, &here.identity) != 0) here.replaced = true;
    if (existed) RemoveStaleTemporaries(here.fd);
  }

  if (level == FolderLevel::TopLevel)
    Tolerate(job, "cannot read the palette of " + here.displayPath,
             [&] { switchPaletteFrom(folder, job.context.palette); });
  if (job.options.convertPid && job.options.rectConversion)
    Tolerate(job, "cannot measure the pictures of " + here.displayPath,
             [&] { here.canvas = computeCommonCanvas(folder); });
  const FolderLevel childLevel =
      level == FolderLevel::Root ? FolderLevel::TopLevel : FolderLevel::Deeper;

  for (const auto& child : folder.children) {
    if (StopRequested(job)) return;
    if (child->IsDir()) {
      OpenFolder below;
      ExtractFolder(job, static_cast<const REZ::Dir&>(*child), &here, childLevel, below);
      continue;
    }
    if (!hasSelected) continue;
    const auto extension = REZ::FileExtension(child->name);
    if (!extension || !IsTypeSelected(job.options, *extension)) continue;
    if (job.beforeEachFile) job.beforeEachFile(child->name);
    if (!PausePoint(job)) return;
    ProcessFile(job, static_cast<const REZ::File&>(*child), *extension, here);
  }
}

}  // namespace

std::string OverwriteQuestionText(const std::string& name, const std::string& displayPath) {
  return "File " + name + " in:\n" + displayPath +
         "\nalready exits. Do you want to overwrite it?\nPress 'Cancel' to overwrite all.";
}

bool HasSelectedFiles(ExtractJob& job, const REZ::Dir& folder) {
  return SelectedInSubtree(job, folder) > 0;
}

void workerMain(std::shared_ptr<ExtractJob> job) {
  job->progress.Lock();
  job->progress.SetTotal(job->options.fileCount);
  job->progress.SetCurrent(0);
  job->progress.Unlock();

  ExtractResult& result = job->result;
  try {
    OpenFolder root;
    root.displayPath = "\\";
    const Descriptor destination(root.fd = OpenDestination(*job, root.shown));
    if (root.fd >= 0) {
      RemoveStaleTemporaries(root.fd);
      job->selectedInSubtree.clear();
      job->stoppedEarly = false;
      CountSelected(*job, job->archive->Root());
      ExtractFolder(*job, job->archive->Root(), nullptr, FolderLevel::Root, root);
      if (job->stoppedEarly)
        result.status = ExtractStatus::Cancelled;
      else
        result.status = result.failed > 0 || result.problems > 0
                            ? ExtractStatus::SucceededWithErrors
                            : ExtractStatus::Succeeded;
    } else {
      result.status = ExtractStatus::DestinationUnusable;
    }
  } catch (const std::exception& e) {
    result.fatalMessage = std::string("extraction broke off: ") + e.what();
    result.status = ExtractStatus::Aborted;
    try {
      Report(*job, result.fatalMessage);
    } catch (...) {
    }
  }
  job->done.store(true, std::memory_order_release);
}
