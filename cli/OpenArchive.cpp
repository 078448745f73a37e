#include "cli/OpenArchive.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "extract/EntryNames.h"

namespace cli {

std::unique_ptr<REZ::Parser> OpenArchive(const std::string& path) {
  const auto fail = [&](const std::string& message) {
    std::fprintf(stderr, "tarnwick-cli: %s: %s\n", path.c_str(), message.c_str());
    return nullptr;
  };
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (std::filesystem::is_directory(status)) return fail("Is a directory");
  // Tells a missing or unreadable file from a damaged one. Other kinds of file
  // are left to the reader, which refuses them without opening them.
  if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) {
    errno = 0;
    std::ifstream probe(path, std::ios::binary);
    if (!probe) return fail(std::strerror(errno ? errno : ENOENT));
  }
  try {
    return std::make_unique<REZ::Parser>(path);
  } catch (const REZ::Exception& e) {
    // The detail quotes names from the archive: what could drive the
    // terminal is escaped.
    const std::string detail = PrintableName(e.detail);
    return fail(e.message + (detail.empty() ? "" : " (" + detail + ")"));
  } catch (const std::bad_alloc&) {
    return fail("Out of memory.");
  }
}

}  // namespace cli
