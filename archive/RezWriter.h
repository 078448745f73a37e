// Writes an archive in the layout of the games' own packer.
//
// The 168-byte header, then every file's data contiguous in walk order (a
// folder's subfolders first, then its files: the order of its records), then
// the folder bodies, each after the bodies of its subfolders, the root body
// last. The archive is written to a temporary file in the target's folder
// and takes the target's name only once every byte is written and flushed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "archive/PackTree.h"

namespace REZ {

constexpr std::uint32_t kRetailHeaderSize = 168;

struct RezWriteOptions {
  // Replace an existing file of the target's name; otherwise it is kept and
  // the write fails.
  bool replace = false;
  // The header's archive time.
  std::uint32_t archiveTime = 0;
};

// Returns why the archive could not be written; nothing is left behind then.
std::optional<std::string> WriteRez(const PackFolder& root, const std::filesystem::path& target,
                                    const RezWriteOptions& options);

}  // namespace REZ
