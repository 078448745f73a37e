#include "archive/WriteAll.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace REZ {

bool WriteAll(int fd, const void* data, std::size_t size) {
  // Counts beyond SSIZE_MAX are the system's to interpret: ask in parts.
  constexpr std::size_t kMaxChunk = std::size_t{1} << 30;
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(fd, next, std::min(size, kMaxChunk));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    if (written == 0) {
      errno = EIO;
      return false;
    }
    next += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace REZ
