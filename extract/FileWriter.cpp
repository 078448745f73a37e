#include "extract/FileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "archive/WriteAll.h"

namespace {

constexpr std::string_view kTemporaryPrefix = ".tarnwick-";
constexpr std::size_t kPidDigits = 10;
// Archive entry names hold at most 127 bytes, a dot and a 4-byte type; a
// longer name cannot come from an archive.
constexpr std::size_t kTemporaryNameLength = 200;
constexpr std::time_t kStaleAfterSeconds = 24 * 60 * 60;

// Cleared when the system has no unnamed files (old kernels, some file
// systems, no /proc); the temporary name then serves every file.
std::atomic<bool> unnamedFilesWork{true};
// Cleared when the kernel refuses to link a descriptor directly (before 6.10
// only a process with CAP_DAC_READ_SEARCH may); /proc/self/fd then names it,
// at the cost of a longer path walk for every file.
std::atomic<bool> directLinksWork{true};

std::string TemporaryName() {
  thread_local std::mt19937_64 random{std::random_device{}()};
  char pid[32];
  std::snprintf(pid, sizeof pid, "%010ld-", static_cast<long>(::getpid()));
  std::string name = std::string(kTemporaryPrefix) + pid;
  static const char kHex[] = "0123456789abcdef";
  while (name.size() < kTemporaryNameLength) {
    std::uint64_t bits = random();
    for (int digit = 0; digit < 16 && name.size() < kTemporaryNameLength; ++digit, bits >>= 4)
      name.push_back(kHex[bits & 15]);
  }
  return name;
}

WriteOutcome Failure(int error) {
  return {WriteOutcome::Failed, std::strerror(error)};
}

WriteOutcome Done() {
  return {WriteOutcome::Written, {}};
}

// Gives the complete file at temporary its final name and removes temporary
// in every case.
WriteOutcome Publish(int folderFd, const std::string& temporary, const std::string& name,
                     WriteRule rule) {
  const auto finish = [&](WriteOutcome outcome) {
    ::unlinkat(folderFd, temporary.c_str(), 0);
    return outcome;
  };
  if (rule == WriteRule::Replace) {
    if (::renameat(folderFd, temporary.c_str(), folderFd, name.c_str()) != 0)
      return finish(Failure(errno));
    return Done();
  }
  // A link fails on an existing name instead of replacing it.
  if (::linkat(folderFd, temporary.c_str(), folderFd, name.c_str(), 0) == 0) return finish(Done());
  if (errno == EEXIST) return finish({WriteOutcome::Existed, {}});
  if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return finish(Failure(errno));
  // File systems without hard links.
  if (::renameat2(folderFd, temporary.c_str(), folderFd, name.c_str(), RENAME_NOREPLACE) == 0)
    return Done();
  if (errno == EEXIST) return finish({WriteOutcome::Existed, {}});
  return finish(Failure(errno));
}

// A new file under a fresh temporary name in the folder; -1 with errno set
// when none can be made. O_EXCL never opens what is already there, a planted
// symbolic link included.
int OpenTemporary(int folderFd, std::string& temporary, mode_t mode) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryName();
    const int fd = ::openat(folderFd, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

WriteOutcome WriteViaTemporaryName(int folderFd, const std::string& name, const unsigned char* data,
                                   std::size_t size, WriteRule rule) {
  std::string temporary;
  const int fd = OpenTemporary(folderFd, temporary, 0666);
  if (fd < 0) return Failure(errno);
  const bool written = REZ::WriteAll(fd, data, size);
  const int writeError = errno;
  // Some file systems report a failed write only when the file is closed.
  if (::close(fd) != 0 || !written) {
    const int error = written ? errno : writeError;
    ::unlinkat(folderFd, temporary.c_str(), 0);
    return Failure(error);
  }
  return Publish(folderFd, temporary, name, rule);
}

enum class Unnamed { Done, Unavailable };

// A file without a name cannot be left behind half-written: it vanishes with
// its descriptor unless it was linked.
Unnamed WriteViaUnnamedFile(int folderFd, const std::string& name, const unsigned char* data,
                            std::size_t size, WriteRule rule, bool tryDirectLink,
                            WriteOutcome& outcome) {
  const int fd = ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return Unnamed::Unavailable;
    outcome = Failure(errno);
    return Unnamed::Done;
  }
  const auto finish = [&](WriteOutcome result) {
    // Linking happened only after every write succeeded; a failed close of a
    // local file cannot lose bytes that write() accepted.
    if (::close(fd) != 0 && result.kind == WriteOutcome::Written) result = Failure(errno);
    outcome = std::move(result);
    return Unnamed::Done;
  };
  if (!REZ::WriteAll(fd, data, size)) return finish(Failure(errno));

  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  const auto link = [&](const char* as) {
    if (tryDirectLink && directLinksWork.load()) {
      if (::linkat(fd, "", folderFd, as, AT_EMPTY_PATH) == 0) return 0;
      if (errno != ENOENT && errno != EPERM) return -1;
      directLinksWork.store(false);
    }
    return ::linkat(AT_FDCWD, self, folderFd, as, AT_SYMLINK_FOLLOW);
  };
  // Without /proc the file cannot be named, unless directly.
  const auto unnamable = [&] {
    if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return false;
    ::close(fd);
    return true;
  };
  if (rule == WriteRule::KeepExisting) {
    if (link(name.c_str()) == 0) return finish(Done());
    if (errno == EEXIST) return finish({WriteOutcome::Existed, {}});
    if (unnamable()) return Unnamed::Unavailable;
    return finish(Failure(errno));
  }
  // Replacing: name the new file beside the old one, then swap it in whole.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temporary = TemporaryName();
    if (link(temporary.c_str()) != 0) {
      if (errno == EEXIST) continue;
      if (unnamable()) return Unnamed::Unavailable;
      return finish(Failure(errno));
    }
    return finish(Publish(folderFd, temporary, name, rule));
  }
  return finish(Failure(EEXIST));
}

}  // namespace

WriteOutcome WriteFileAt(int folderFd, const std::string& name, const unsigned char* data,
                         std::size_t size, WriteRule rule, WriteMethod method) {
  if (method != WriteMethod::TemporaryName && unnamedFilesWork.load()) {
    WriteOutcome outcome;
    if (WriteViaUnnamedFile(folderFd, name, data, size, rule, method == WriteMethod::Best,
                            outcome) == Unnamed::Done)
      return outcome;
    unnamedFilesWork.store(false);
  }
  return WriteViaTemporaryName(folderFd, name, data, size, rule);
}

std::optional<std::string> CannotWriteIn(int folderFd) {
  std::string probe;
  const int fd = OpenTemporary(folderFd, probe, 0600);
  if (fd < 0) return std::string(std::strerror(errno));
  ::close(fd);
  ::unlinkat(folderFd, probe.c_str(), 0);
  return std::nullopt;
}

bool IsTemporaryName(std::string_view name) {
  if (name.size() != kTemporaryNameLength ||
      name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix)
    return false;
  const std::string_view pid = name.substr(kTemporaryPrefix.size(), kPidDigits);
  const std::string_view random = name.substr(kTemporaryPrefix.size() + kPidDigits + 1);
  return std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
         name[kTemporaryPrefix.size() + kPidDigits] == '-' &&
         std::all_of(random.begin(), random.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool IsStaleTemporary(std::string_view name, std::time_t modified) {
  if (!IsTemporaryName(name)) return false;
  if (std::time(nullptr) - modified > kStaleAfterSeconds) return true;
  const long pid = std::stol(std::string(name.substr(kTemporaryPrefix.size(), kPidDigits)));
  if (pid <= 0 || pid == static_cast<long>(::getpid())) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

int RemoveStaleTemporaries(int folderFd) {
  const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return 0;
  DIR* folder = ::fdopendir(listFd);
  if (folder == nullptr) {
    ::close(listFd);
    return 0;
  }
  int removed = 0;
  while (const dirent* entry = ::readdir(folder)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    struct stat info;
    if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(info.st_mode) || !IsStaleTemporary(entry->d_name, info.st_mtime)) continue;
    if (::unlinkat(folderFd, entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(folder);
  return removed;
}
