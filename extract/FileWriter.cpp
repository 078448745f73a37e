#include "extract/FileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<unsigned> temporaryCounter{0};
// Cleared when the system has no unnamed files (old kernels, some file
// systems, no /proc); the temporary-name way then serves every file.
std::atomic<bool> unnamedFilesWork{true};

// Hidden, and unique to this process and call, so that it meets neither an
// archive entry nor another writer in the same folder.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
  return target.parent_path() /
         ("." + target.filename().string() + ".tarnwick-" + std::to_string(::getpid()) + "-" +
          std::to_string(temporaryCounter.fetch_add(1)));
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
  constexpr std::size_t kMaxChunk = std::size_t{1} << 30;
  while (size > 0) {
    const ssize_t written = ::write(fd, data, std::min(size, kMaxChunk));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = EIO;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

std::optional<std::string> Reason(int error) {
  return std::string(std::strerror(error));
}

// Opens a fresh temporary name next to target.
int OpenTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryNameFor(target);
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

std::optional<std::string> WriteViaTemporaryName(const std::filesystem::path& target,
                                                 const unsigned char* data, std::size_t size) {
  std::filesystem::path temporary;
  const int fd = OpenTemporary(target, temporary);
  if (fd < 0) return Reason(errno);
  const auto fail = [&](int error) {
    ::unlink(temporary.c_str());
    return Reason(error);
  };
  if (!WriteAll(fd, data, size)) {
    const int error = errno;
    ::close(fd);
    return fail(error);
  }
  if (::close(fd) != 0) return fail(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

enum class Unnamed { Done, Failed, Unavailable };

// A file without a name cannot be left behind half-written: it vanishes with
// its descriptor unless it was linked.
Unnamed WriteViaUnnamedFile(const std::filesystem::path& target, const unsigned char* data,
                            std::size_t size, std::optional<std::string>& failure) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return Unnamed::Unavailable;
    failure = Reason(errno);
    return Unnamed::Failed;
  }
  const auto finish = [&](std::optional<std::string> reason) {
    ::close(fd);
    failure = std::move(reason);
    return failure ? Unnamed::Failed : Unnamed::Done;
  };
  if (!WriteAll(fd, data, size)) return finish(Reason(errno));

  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  if (::linkat(AT_FDCWD, self, AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
    return finish(std::nullopt);
  if (errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
    ::close(fd);
    return Unnamed::Unavailable;
  }
  if (errno != EEXIST) return finish(Reason(errno));

  // Replacing a file: name the new one beside it, then swap it in whole.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path temporary = TemporaryNameFor(target);
    if (::linkat(AT_FDCWD, self, AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      return finish(Reason(errno));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
      const int error = errno;
      ::unlink(temporary.c_str());
      return finish(Reason(error));
    }
    return finish(std::nullopt);
  }
  return finish(Reason(EEXIST));
}

}  // namespace

std::optional<std::string> WriteFileReplacing(const std::filesystem::path& target,
                                              const unsigned char* data, std::size_t size,
                                              WriteMethod method) {
  if (method == WriteMethod::Best && unnamedFilesWork.load()) {
    std::optional<std::string> failure;
    switch (WriteViaUnnamedFile(target, data, size, failure)) {
      case Unnamed::Done:
        return std::nullopt;
      case Unnamed::Failed:
        return failure;
      case Unnamed::Unavailable:
        unnamedFilesWork.store(false);
        break;
    }
  }
  return WriteViaTemporaryName(target, data, size);
}
