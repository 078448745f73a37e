#include "extract/ExtractWorker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <thread>

#include "convert/ImageConversion.h"
#include "convert/PcxToPng.h"
#include "convert/XmiToMidi.h"
#include "extract/EntryNames.h"
#include "extract/FileWriter.h"

namespace {

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

bool MakeFolder(ExtractJob& job, const std::filesystem::path& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  const int error = errno;
  struct stat info;
  if (error == EEXIST && ::lstat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return true;
    if (S_ISLNK(info.st_mode)) {
      Report(job, "refused to enter " + Shown(path) + ": it is a symbolic link");
      return false;
    }
    Report(job, "cannot create folder " + Shown(path) + ": a file of that name is in the way");
    return false;
  }
  Report(job, "cannot create folder " + Shown(path) + ": " + SystemReason(error));
  return false;
}

enum class TargetState { Free, Occupied, Refused };

// What sits where a file is to be written. Refusals are reported here.
TargetState InspectTarget(ExtractJob& job, const std::filesystem::path& target) {
  struct stat info;
  if (::lstat(target.c_str(), &info) != 0) {
    if (errno == ENOENT) return TargetState::Free;
    Report(job, "cannot write " + Shown(target) + ": " + SystemReason(errno));
    return TargetState::Refused;
  }
  if (S_ISLNK(info.st_mode)) {
    Report(job, "refused to write " + Shown(target) + ": a symbolic link is in its place");
    return TargetState::Refused;
  }
  if (S_ISDIR(info.st_mode)) {
    Report(job, "cannot write " + Shown(target) + ": " + SystemReason(EISDIR));
    return TargetState::Refused;
  }
  return TargetState::Occupied;
}

struct FolderContext {
  const std::string& displayPath;
  const std::filesystem::path& path;
  CanvasSize canvas;
};

void ConvertPid(ExtractJob& job, const REZ::File& file, const FolderContext& folder) {
  const std::string outputName = REZ::ReplaceAll(file.name, "PID", "png");
  if (!IsSafeEntryName(outputName)) {
    Report(job, folder.displayPath + ": refused the picture name " + Quoted(outputName) +
                    ": it is not a plain file name");
    ++job.result.failed;
    return;
  }
  if (InspectTarget(job, folder.path / outputName) == TargetState::Refused) {
    ++job.result.failed;
    return;
  }
  const ConversionOutcome outcome = convertPidToPng(
      file, folder.path, folder.canvas.width, folder.canvas.height, *job.questions, job.paused);
  if (outcome == ConversionOutcome::Written)
    ++job.result.written;
  else
    ++job.result.failed;
}

enum class OutputOutcome { Written, Kept, Failed };

// Writes one output file into the folder, asking before it replaces a file;
// bytes is called only once the file is to be written.
OutputOutcome WriteOutput(ExtractJob& job, const std::string& name, const FolderContext& folder,
                          const std::function<std::vector<unsigned char>()>& bytes) {
  const std::filesystem::path target = folder.path / name;
  const TargetState state = InspectTarget(job, target);
  if (state == TargetState::Refused) return OutputOutcome::Failed;
  if (state == TargetState::Occupied && !job.options.overwriteAll) {
    switch (job.questions->AskOverwrite(OverwriteQuestionText(name, folder.displayPath))) {
      case OverwriteAnswer::No:
        return OutputOutcome::Kept;
      case OverwriteAnswer::Cancel:
        job.options.overwriteAll = true;
        break;
      case OverwriteAnswer::Yes:
        break;
    }
  }
  const std::vector<unsigned char> data = bytes();
  if (const auto failure = WriteFileReplacing(target, data.data(), data.size())) {
    Report(job, "cannot write " + Shown(target) + ": " + *failure);
    return OutputOutcome::Failed;
  }
  return OutputOutcome::Written;
}

void Count(ExtractJob& job, OutputOutcome outcome) {
  switch (outcome) {
    case OutputOutcome::Written:
      ++job.result.written;
      break;
    case OutputOutcome::Kept:
      ++job.result.kept;
      break;
    case OutputOutcome::Failed:
      ++job.result.failed;
      break;
  }
}

void CopyFile(ExtractJob& job, const REZ::File& file, const FolderContext& folder) {
  Count(job, WriteOutput(job, file.name, folder, [&] { return file.GetData(); }));
}

using Converter = ConvertedFiles (*)(const std::string&, const unsigned char*, std::size_t);

// An entry converted to one or more files (XMI songs, a PCX picture). It
// counts as failed when any of its files failed, else as written when any
// was written.
void ConvertFile(ExtractJob& job, const REZ::File& file, const FolderContext& folder,
                 Converter convert) {
  const std::vector<unsigned char> bytes = file.GetData();
  ConvertedFiles converted = convert(file.name, bytes.data(), bytes.size());
  if (!converted.error.empty()) {
    Report(job, folder.displayPath + ": cannot convert " + Quoted(file.name) + ": " +
                    PrintableName(converted.error));
    ++job.result.failed;
    return;
  }
  OutputOutcome overall = OutputOutcome::Kept;
  for (ConvertedFile& output : converted.files) {
    OutputOutcome outcome = OutputOutcome::Failed;
    if (!IsSafeEntryName(output.name))
      Report(job, folder.displayPath + ": refused the file name " + Quoted(output.name) +
                      ": it is not a plain file name");
    else
      outcome = WriteOutput(job, output.name, folder, [&] { return std::move(output.bytes); });
    if (outcome == OutputOutcome::Failed || overall == OutputOutcome::Kept) overall = outcome;
  }
  Count(job, overall);
}

void ProcessFile(ExtractJob& job, const REZ::File& file, const std::string& extension,
                 const FolderContext& folder) {
  try {
    if (!IsSafeEntryName(file.name)) {
      Report(job, folder.displayPath + ": refused the file name " + Quoted(file.name) +
                      ": it is not a plain file name");
      ++job.result.failed;
    } else if (extension == "PID" && job.options.convertPid) {
      ConvertPid(job, file, folder);
    } else if (extension == "XMI" && job.options.convertXmi) {
      ConvertFile(job, file, folder, ConvertXmiToMidi);
    } else if (extension == "PCX" && job.options.convertPcx) {
      ConvertFile(job, file, folder, ConvertPcxToPng);
    } else {
      CopyFile(job, file, folder);
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

// Where the files go, or nullopt after reporting why nothing can be written.
std::optional<std::filesystem::path> UsableDestination(ExtractJob& job) {
  const auto fail = [&](const std::string& message) {
    job.result.fatalMessage = message;
    Report(job, message);
    return std::nullopt;
  };
  if (job.destinationPath.empty()) return fail("no destination folder given");
  std::error_code error;
  const std::filesystem::path destination = std::filesystem::absolute(job.destinationPath, error);
  if (error)
    return fail("destination folder " + Shown(job.destinationPath) + ": " + error.message());
  struct stat info;
  if (::stat(destination.c_str(), &info) != 0) {
    if (errno == ENOENT)
      return fail("destination folder " + Shown(destination) + " does not exist");
    return fail("destination folder " + Shown(destination) + ": " + SystemReason(errno));
  }
  if (!S_ISDIR(info.st_mode)) return fail("destination " + Shown(destination) + " is not a folder");
  // Permission bits do not tell (root, read-only mounts, ACLs): try it.
  const std::filesystem::path probe =
      destination / (".tarnwick-probe-" + std::to_string(::getpid()));
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0 && errno != EEXIST)
    return fail("destination folder " + Shown(destination) +
                " cannot be written: " + SystemReason(errno));
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.c_str());
  }
  return destination;
}

}  // namespace

std::string OverwriteQuestionText(const std::string& name, const std::string& displayPath) {
  return "File " + name + " in:\n" + displayPath +
         "\nalready exits. Do you want to overwrite it?\nPress 'Cancel' to overwrite all.";
}

bool HasSelectedFiles(ExtractJob& job, const REZ::Dir& folder) {
  return SelectedInSubtree(job, folder) > 0;
}

void ExtractFolder(ExtractJob& job, const REZ::Dir& folder, const std::string* parentDisplayPath,
                   FolderLevel level, const std::filesystem::path& parentFolder) {
  if (StopRequested(job)) return;
  const bool hasSelected = HasSelectedFiles(job, folder);
  if (!hasSelected && !job.options.extractEmptyFolders) return;

  std::string displayPath;
  std::filesystem::path folderPath;
  if (level == FolderLevel::Root) {
    displayPath = "\\";
    folderPath = parentFolder;
  } else {
    displayPath = (parentDisplayPath ? *parentDisplayPath : std::string("\\")) + "\\" + folder.name;
    if (!IsSafeEntryName(folder.name)) {
      Report(job, (parentDisplayPath ? *parentDisplayPath : std::string("\\")) +
                      ": refused the folder name " + Quoted(folder.name) +
                      ": it is not a plain folder name; nothing below it is extracted");
      FailSubtree(job, folder);
      return;
    }
    folderPath = parentFolder / folder.name;
    if (!MakeFolder(job, folderPath)) {
      FailSubtree(job, folder);
      return;
    }
  }

  if (level == FolderLevel::TopLevel)
    Tolerate(job, "cannot read the palette of " + displayPath, [&] { switchPaletteFrom(folder); });
  CanvasSize canvas;
  if (job.options.convertPid && job.options.rectConversion)
    Tolerate(job, "cannot measure the pictures of " + displayPath,
             [&] { canvas = computeCommonCanvas(folder); });
  const FolderContext context{displayPath, folderPath, canvas};
  const FolderLevel childLevel =
      level == FolderLevel::Root ? FolderLevel::TopLevel : FolderLevel::Deeper;

  for (const auto& child : folder.children) {
    if (StopRequested(job)) return;
    if (child->IsDir()) {
      ExtractFolder(job, static_cast<const REZ::Dir&>(*child), &displayPath, childLevel,
                    folderPath);
      continue;
    }
    if (!hasSelected) continue;
    const auto extension = REZ::FileExtension(child->name);
    if (!extension || !IsTypeSelected(job.options, *extension)) continue;
    if (!PausePoint(job)) return;
    ProcessFile(job, static_cast<const REZ::File&>(*child), *extension, context);
  }
}

void workerMain(std::shared_ptr<ExtractJob> job) {
  job->progress.Lock();
  job->progress.SetTotal(job->options.fileCount);
  job->progress.SetCurrent(0);
  job->progress.Unlock();

  ExtractResult& result = job->result;
  try {
    if (const auto destination = UsableDestination(*job)) {
      job->selectedInSubtree.clear();
      job->stoppedEarly = false;
      CountSelected(*job, job->archive->Root());
      ExtractFolder(*job, job->archive->Root(), nullptr, FolderLevel::Root, *destination);
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

void StartExtraction(const std::shared_ptr<ExtractJob>& job) {
  std::thread(workerMain, job).detach();
}
