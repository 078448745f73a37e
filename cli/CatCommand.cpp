// tarnwick-cli cat: one entry's bytes on standard output.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "archive/WriteAll.h"
#include "cli/Commands.h"
#include "cli/OpenArchive.h"
#include "cli/Usage.h"
#include "extract/EntryNames.h"
#include "text/Windows1252.h"

namespace cli {

namespace {

// The file at path ("/" or "\" between names, compared byte for byte), or nullptr.
const REZ::File* FindFile(const REZ::Dir& root, const std::string& path) {
  const REZ::Dir* folder = &root;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find_first_of("/\\", start);
    const std::string name = path.substr(start, end == std::string::npos ? end : end - start);
    const REZ::Element* found = nullptr;
    for (const auto& child : folder->children)
      if (child->name == name) found = child.get();
    if (!found) return nullptr;
    if (end == std::string::npos)
      return found->IsFile() ? static_cast<const REZ::File*>(found) : nullptr;
    if (!found->IsDir()) return nullptr;
    folder = static_cast<const REZ::Dir*>(found);
    start = end + 1;
  }
}

}  // namespace

int RunCat(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("cat: needs an archive and the path of one entry");
  const auto archive = OpenArchive(args[0]);
  if (!archive) return kExitUsage;
  std::string path = args[1];
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) path.erase(0, 1);
  const auto name = text::Windows1252FromUtf8(path);
  const REZ::File* file = name ? FindFile(archive->Root(), *name) : nullptr;
  if (!file) {
    std::fprintf(stderr, "tarnwick-cli: cat: %s names no file in %s\n",
                 PrintableName(args[1]).c_str(), PrintableName(args[0]).c_str());
    return kExitUsage;
  }
  constexpr std::uint32_t kChunk = 1 << 20;
  try {
    for (std::uint32_t done = 0; done < file->size;) {
      const std::uint32_t n = std::min(kChunk, file->size - done);
      const std::vector<unsigned char> bytes =
          archive->ReadAt(std::uint64_t(file->offset) + done, n);
      if (!REZ::WriteAll(STDOUT_FILENO, bytes.data(), bytes.size())) {
        std::fprintf(stderr, "tarnwick-cli: cat: cannot write to standard output: %s\n",
                     std::strerror(errno));
        return kExitPartial;
      }
      done += n;
    }
  } catch (const REZ::Exception& e) {
    std::fprintf(
        stderr, "tarnwick-cli: cat: %s: %s\n", PrintableName(args[1]).c_str(),
        PrintableName(e.message + (e.detail.empty() ? "" : " (" + e.detail + ")")).c_str());
    return kExitPartial;
  }
  return kExitOk;
}

}  // namespace cli
