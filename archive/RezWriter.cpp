#include "archive/RezWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "archive/WriteAll.h"
#include "archive/cREZ.h"

namespace REZ {

namespace {

using Bytes = std::vector<unsigned char>;

struct Failure {
  std::string reason;
};

std::string SystemText(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

void Put32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void Set32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Writes through a buffer; every write is checked.
class Output {
 public:
  explicit Output(int fd) : fd(fd) { buffer.reserve(kBufferSize); }

  void Append(const unsigned char* data, std::size_t n) {
    if (buffer.size() + n > kBufferSize) Flush();
    if (n >= kBufferSize) return WriteAll(data, n);
    buffer.insert(buffer.end(), data, data + n);
  }
  void Flush() {
    WriteAll(buffer.data(), buffer.size());
    buffer.clear();
  }
  // Copies exactly size bytes of source; a file that changed since it was
  // measured fails the archive rather than putting a wrong size in a record.
  void CopyFrom(const PackFile& file) {
    const int in = ::open(file.source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0) throw Failure{SystemText("cannot read " + file.source.string())};
    struct Closer {
      int fd;
      ~Closer() { ::close(fd); }
    } closer{in};
    std::uint64_t left = file.size;
    chunk.resize(kBufferSize / 4);
    for (;;) {
      const ssize_t got = ::read(in, chunk.data(), std::min<std::uint64_t>(chunk.size(), left + 1));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) throw Failure{SystemText("cannot read " + file.source.string())};
      if (got == 0) break;
      if (std::uint64_t(got) > left)
        throw Failure{file.source.string() + " grew while it was packed"};
      Append(chunk.data(), std::size_t(got));
      left -= std::uint64_t(got);
    }
    if (left != 0) throw Failure{file.source.string() + " shrank while it was packed"};
  }

 private:
  void WriteAll(const unsigned char* data, std::size_t n) {
    if (!REZ::WriteAll(fd, data, n)) throw Failure{SystemText("cannot write the archive")};
  }

  static constexpr std::size_t kBufferSize = 1 << 20;
  int fd;
  Bytes buffer;
  Bytes chunk;
};

struct Layout {
  std::uint64_t position = kRetailHeaderSize;
  std::size_t longestFolder = 0;
  std::size_t longestFile = 0;
};

// Data offsets in walk order: a folder's subfolders, then its files.
void PlaceData(const PackFolder& folder, std::vector<std::uint32_t>& offsets, Layout& layout) {
  for (const PackFolder& child : folder.folders) {
    layout.longestFolder = std::max(layout.longestFolder, child.name.size());
    PlaceData(child, offsets, layout);
  }
  for (const PackFile& file : folder.files) {
    layout.longestFile = std::max(layout.longestFile, file.name.size());
    offsets.push_back(static_cast<std::uint32_t>(layout.position));
    layout.position += file.size;
    if (layout.position > std::numeric_limits<std::uint32_t>::max())
      throw Failure{"the files hold more than an archive can address (4 GiB)"};
  }
}

struct Block {
  std::uint32_t offset;
  std::uint32_t size;
};

class BodyWriter {
 public:
  BodyWriter(const std::vector<std::uint32_t>& offsets, std::uint64_t start)
      : offsets(offsets), position(start) {}

  // Appends the bodies of folder's subtree to bodies, folder's own last.
  Block Write(const PackFolder& folder) {
    std::vector<Block> children;
    for (const PackFolder& child : folder.folders) children.push_back(Write(child));
    Bytes body;
    for (std::size_t i = 0; i < folder.folders.size(); ++i) {
      const PackFolder& child = folder.folders[i];
      Put32(body, 1);
      Put32(body, children[i].offset);
      Put32(body, children[i].size);
      Put32(body, child.time);
      body.insert(body.end(), child.name.begin(), child.name.end());
      body.push_back(0);
    }
    for (const PackFile& file : folder.files) {
      Put32(body, 0);
      Put32(body, offsets[next]);
      Put32(body, static_cast<std::uint32_t>(file.size));
      Put32(body, file.time);
      Put32(body, static_cast<std::uint32_t>(++next));  // id: not looked up by anyone
      // The type is stored last character first, NUL-padded.
      for (std::size_t i = 0; i < 4; ++i)
        body.push_back(i < file.type.size() ? file.type[file.type.size() - 1 - i] : 0);
      Put32(body, 0);  // no keys
      body.insert(body.end(), file.name.begin(), file.name.end());
      body.push_back(0);
      body.push_back(0);  // empty comment
    }
    const Block block{static_cast<std::uint32_t>(position),
                      static_cast<std::uint32_t>(body.size())};
    position += body.size();
    if (position > std::numeric_limits<std::uint32_t>::max())
      throw Failure{"the archive would be larger than 4 GiB"};
    bodies.insert(bodies.end(), body.begin(), body.end());
    return block;
  }

  Bytes bodies;

 private:
  const std::vector<std::uint32_t>& offsets;
  std::uint64_t position;
  std::size_t next = 0;
};

Bytes Header(const Layout& layout, const Block& root, const RezWriteOptions& options) {
  Bytes header(kRetailHeaderSize, ' ');
  const std::string banner = "RezMgr Version 1 Copyright (C) 1995 MONOLITH INC.";
  std::copy(banner.begin(), banner.end(), header.begin() + 0x02);
  for (std::size_t at : {0x00, 0x3E, 0x7C}) {
    header[at] = '\r';
    header[at + 1] = '\n';
  }
  header[0x7E] = 0x1A;
  Set32(header, kVersionAt, 1);
  Set32(header, kRootOffsetAt, root.offset);
  Set32(header, kRootSizeAt, root.size);
  Set32(header, 0x8B, 0);
  Set32(header, 0x8F, static_cast<std::uint32_t>(layout.position));
  Set32(header, 0x93, options.archiveTime);
  Set32(header, 0x97, 0);
  Set32(header, 0x9B, static_cast<std::uint32_t>(layout.longestFolder + 1));
  Set32(header, 0x9F, static_cast<std::uint32_t>(layout.longestFile + 1));
  Set32(header, 0xA3, 0);  // every comment is empty
  header[0xA7] = 1;        // each folder's data is contiguous
  return header;
}

// Creates the file the archive is written to, next to target, under a name
// no one else has (O_EXCL). Made with mode 0666, it gets the permissions the
// umask leaves any new file, which the archive keeps, replacing or not.
int CreateTemporary(const std::filesystem::path& folder, const std::filesystem::path& target,
                    std::string& temporary) {
  std::mt19937_64 random(
      std::uint64_t(::getpid()) << 32 ^
      std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    temporary = (folder / ("." + target.filename().string() + ".tarnwick-" + suffix)).string();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives the finished file the target's name without ever replacing a file
// that is there, unless asked to.
void Publish(const std::string& temporary, const std::filesystem::path& target, bool replace) {
  if (replace) {
    if (::rename(temporary.c_str(), target.c_str()) != 0)
      throw Failure{SystemText("cannot write " + target.string())};
    return;
  }
  if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
    return;
  // File systems without the no-replace rename still refuse to link over a file.
  if (errno == EINVAL || errno == ENOSYS) {
    if (::link(temporary.c_str(), target.c_str()) == 0) {
      ::unlink(temporary.c_str());
      return;
    }
  }
  throw Failure{errno == EEXIST ? target.string() + " already exists"
                                : SystemText("cannot write " + target.string())};
}

void WriteAllData(const PackFolder& folder, Output& out) {
  for (const PackFolder& child : folder.folders) WriteAllData(child, out);
  for (const PackFile& file : folder.files) out.CopyFrom(file);
}

}  // namespace

std::optional<std::string> WriteRez(const PackFolder& root, const std::filesystem::path& target,
                                    const RezWriteOptions& options) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string temporary;
  const int fd = CreateTemporary(folder, target, temporary);
  if (fd < 0) return SystemText("cannot create a file in " + folder.string());
  bool closed = false;
  try {
    Layout layout;
    std::vector<std::uint32_t> offsets;
    PlaceData(root, offsets, layout);
    BodyWriter bodies(offsets, layout.position);
    const Block rootBlock = bodies.Write(root);
    Output out(fd);
    const Bytes header = Header(layout, rootBlock, options);
    out.Append(header.data(), header.size());
    WriteAllData(root, out);
    out.Append(bodies.bodies.data(), bodies.bodies.size());
    out.Flush();
    if (::fsync(fd) != 0) throw Failure{SystemText("cannot flush the archive")};
    closed = true;
    if (::close(fd) != 0) throw Failure{SystemText("cannot close the archive")};
    Publish(temporary, target, options.replace);
    return std::nullopt;
  } catch (const Failure& failure) {
    if (!closed) ::close(fd);
    ::unlink(temporary.c_str());
    return failure.reason;
  } catch (const std::bad_alloc&) {
    if (!closed) ::close(fd);
    ::unlink(temporary.c_str());
    return "not enough memory to write the archive";
  }
}

}  // namespace REZ
