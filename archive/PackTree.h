// A folder tree on disk read as the contents of a new archive.
//
// Every file NAME.TYPE becomes an entry named NAME of type TYPE; names are
// turned from the file system's UTF-8 into the archive's Windows-1252 and
// checked against what the archive format and the reader hold. Entries are
// sorted by their archive names, so that packing the same tree twice gives
// the same archive.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/cREZ.h"

namespace REZ {

// What the reader accepts: a folder name is scanned into its name buffer with
// its NUL, a file name with two; folders nest at most this deep below the root.
constexpr std::size_t kMaxPackFolderName = kNameBufferSize - 1;
constexpr std::size_t kMaxPackFileName = kNameBufferSize - 2;
constexpr std::size_t kMaxPackType = 4;
constexpr std::size_t kMaxPackDepth = kMaxFolderDepth - 1;

struct PackFile {
  std::string name;  // Windows-1252, without the type
  std::string type;  // Windows-1252, 1 to 4 bytes
  std::uint32_t time = 0;
  std::uint64_t size = 0;
  std::filesystem::path source;
};

struct PackFolder {
  std::string name;  // Windows-1252; empty for the root
  std::uint32_t time = 0;
  std::vector<PackFolder> folders;  // sorted by name
  std::vector<PackFile> files;      // sorted by name, then type
};

struct PackRefusal {
  std::filesystem::path path;
  std::string reason;
};

struct PackTree {
  PackFolder root;
  // Entries that cannot go into an archive; when any, nothing may be written.
  std::vector<PackRefusal> refusals;
  // The newest modification time of any entry (0 for an empty tree).
  std::uint32_t newest = 0;
};

// Reads folder (which must be a folder) and everything below it. Symbolic
// links and other special files are refused, not followed.
PackTree ReadPackTree(const std::filesystem::path& folder);

}  // namespace REZ
