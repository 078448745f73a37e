// Shared by the fuzz targets: the failure trap, seed files, and scratch space
// in memory-backed storage where there is some (inputs are written anew each run).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/RezBuilder.h"

namespace fuzz {

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// The little-endian word at data + at.
inline std::uint32_t Word(const std::uint8_t* data, std::size_t at) {
  return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 |
         std::uint32_t(data[at + 2]) << 16 | std::uint32_t(data[at + 3]) << 24;
}

// With TARNWICK_WRITE_SEEDS naming a folder, writes the seeds there as
// seed-0, seed-1, ... and exits.
template <typename Seeds>
void WriteSeedsIfAsked(Seeds makeSeeds, const std::string& suffix = "") {
  const char* folder = std::getenv("TARNWICK_WRITE_SEEDS");
  if (!folder) return;
  std::filesystem::create_directories(folder);
  const std::vector<std::vector<unsigned char>> seeds = makeSeeds();
  for (std::size_t i = 0; i < seeds.size(); ++i)
    rezbuild::WriteBytes(std::filesystem::path(folder) / ("seed-" + std::to_string(i) + suffix),
                         seeds[i]);
  std::exit(0);
}

// A path of its own for this process, removed with everything below it at exit.
struct Scratch {
  explicit Scratch(const std::string& name) {
    const bool shm = std::filesystem::is_directory("/dev/shm");
    path = (shm ? "/dev/shm" : std::filesystem::temp_directory_path()) /
           ("tarnwick-" + name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(path);
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path;
};

}  // namespace fuzz
