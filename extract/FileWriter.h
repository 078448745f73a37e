// Writing an extracted file so that a failure never costs the user a file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

// Writes size bytes to a fresh temporary file in target's folder and renames it
// onto target only when every byte is written and the file is closed. On
// failure the temporary file is removed, target is untouched (an older file of
// that name survives whole) and the system's reason is returned.
std::optional<std::string> WriteFileReplacing(const std::filesystem::path& target,
                                              const unsigned char* data, std::size_t size);
