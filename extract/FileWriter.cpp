#include "extract/FileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

std::atomic<unsigned> temporaryCounter{0};

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

}  // namespace

std::optional<std::string> WriteFileReplacing(const std::filesystem::path& target,
                                              const unsigned char* data, std::size_t size) {
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryNameFor(target);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && errno != EEXIST) return std::string(std::strerror(errno));
  }
  if (fd < 0) return std::string(std::strerror(EEXIST));

  const auto fail = [&](int error) {
    ::unlink(temporary.c_str());
    return std::optional<std::string>(std::strerror(error));
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
