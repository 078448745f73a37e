#include "extract/DestinationFolders.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "extract/EntryNames.h"
#include "extract/FileWriter.h"

namespace {

std::string SystemReason(int error) {
  return std::strerror(error);
}

enum class TargetState { Free, Occupied, Refused };

// What sits where a file is to be written. Refusals are reported here.
TargetState InspectTarget(ExtractJob& job, const OpenFolder& folder, const std::string& name) {
  // The path is put together only for a report: most targets are free.
  const auto refuse = [&](const std::string& verb, const std::string& reason) {
    ReportProblem(job, verb + " " + ShownPath(folder.shown / name) + ": " + reason);
    return TargetState::Refused;
  };
  struct stat info;
  if (::fstatat(folder.fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT ? TargetState::Free : refuse("cannot write", SystemReason(errno));
  if (S_ISLNK(info.st_mode)) return refuse("refused to write", "a symbolic link is in its place");
  if (S_ISDIR(info.st_mode)) return refuse("cannot write", SystemReason(EISDIR));
  return TargetState::Occupied;
}

}  // namespace

void ReportProblem(ExtractJob& job, const std::string& message) {
  ++job.result.problems;
  job.questions->ReportFailure(message);
}

std::string ShownPath(const std::filesystem::path& path) {
  return PrintableName(path.string());
}

Descriptor::~Descriptor() {
  if (fd >= 0) ::close(fd);
}

void Descriptor::Hold(int newFd) {
  if (fd >= 0) ::close(fd);
  fd = newFd;
}

std::string OverwriteQuestionText(const std::string& name, const std::string& displayPath) {
  return "File " + name + " in:\n" + displayPath +
         "\nalready exits. Do you want to overwrite it?\nPress 'Cancel' to overwrite all.";
}

int MakeFolder(ExtractJob& job, const OpenFolder& parent, const std::string& name,
               const std::filesystem::path& shown, bool& existed) {
  existed = false;
  if (::mkdirat(parent.fd, name.c_str(), 0777) != 0) {
    if (errno != EEXIST) {
      ReportProblem(job, "cannot create folder " + ShownPath(shown) + ": " + SystemReason(errno));
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
      ReportProblem(job, "refused to enter " + ShownPath(shown) + ": it is a symbolic link");
      return -1;
    }
    if (!S_ISDIR(info.st_mode)) {
      ReportProblem(
          job, "cannot create folder " + ShownPath(shown) + ": a file of that name is in the way");
      return -1;
    }
  }
  ReportProblem(job, "cannot open folder " + ShownPath(shown) + ": " + SystemReason(error));
  return -1;
}

bool StillInPlace(ExtractJob& job, OpenFolder& folder) {
  if (folder.replaced) return false;
  if (folder.parent == nullptr) return true;
  struct stat now;
  if (::fstatat(folder.parent->fd, folder.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
      now.st_dev == folder.identity.st_dev && now.st_ino == folder.identity.st_ino)
    return true;
  folder.replaced = true;
  ReportProblem(job,
                "folder " + ShownPath(folder.shown) +
                    " was moved or replaced during the extraction; nothing more is written in it");
  return false;
}

OutputOutcome WriteOneOutput(ExtractJob& job, OpenFolder& folder, const std::string& diskName,
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
  switch (outcome.kind) {
    case WriteOutcome::Written:
      return OutputOutcome::Written;
    case WriteOutcome::Existed:
      // It appeared while this one was made; nobody agreed to replace it.
      return OutputOutcome::Kept;
    case WriteOutcome::Failed:
      break;
  }
  ReportProblem(job, "cannot write " + ShownPath(folder.shown / diskName) + ": " + outcome.reason);
  return OutputOutcome::Failed;
}

void Count(ExtractResult& result, OutputOutcome outcome) {
  ++(outcome == OutputOutcome::Written ? result.written
     : outcome == OutputOutcome::Kept  ? result.kept
                                       : result.failed);
}

void WriteOutput(ExtractJob& job, OpenFolder& folder, const std::string& diskName,
                 const Producer& produce) {
  Count(job.result, WriteOneOutput(job, folder, diskName, produce));
}

int OpenDestination(ExtractJob& job, std::filesystem::path& shown) {
  const auto fail = [&](const std::string& message) {
    job.result.fatalMessage = message;
    ReportProblem(job, message);
    return -1;
  };
  if (job.destinationPath.empty()) return fail("no destination folder given");
  std::error_code error;
  shown = std::filesystem::absolute(job.destinationPath, error);
  if (error)
    return fail("destination folder " + ShownPath(job.destinationPath) + ": " + error.message());
  // The destination itself may be a symbolic link; nothing below it may.
  const int fd = ::open(job.destinationPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return fail("destination folder " + ShownPath(shown) + " does not exist");
    if (errno == ENOTDIR) return fail("destination " + ShownPath(shown) + " is not a folder");
    return fail("destination folder " + ShownPath(shown) + ": " + SystemReason(errno));
  }
  if (const auto reason = CannotWriteIn(fd)) {
    ::close(fd);
    return fail("destination folder " + ShownPath(shown) + " cannot be written: " + *reason);
  }
  return fd;
}
