// Writing an extracted file so that a failure never costs the user a file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

enum class WriteMethod {
  // An unnamed file in target's folder, given its name once every byte is in
  // (where the system offers it), else a temporary name renamed into place.
  Best,
  // Always the temporary name and a rename.
  TemporaryName,
};

// Writes size bytes so that target only ever names a complete file: the new
// bytes go to a file without a name (or a hidden temporary name) in target's
// folder, which takes target's name only when every byte is written. On
// failure, or if the process dies half-way, target is untouched (an older
// file of that name survives whole) and no partial file is left behind.
// Returns the system's reason on failure.
std::optional<std::string> WriteFileReplacing(const std::filesystem::path& target,
                                              const unsigned char* data, std::size_t size,
                                              WriteMethod method = WriteMethod::Best);
