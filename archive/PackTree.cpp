#include "archive/PackTree.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>

#include "text/Windows1252.h"

namespace REZ {

namespace {

std::uint32_t TimeOf(const struct stat& info) {
  return static_cast<std::uint32_t>(
      std::clamp<long long>(info.st_mtime, 0, std::numeric_limits<std::uint32_t>::max()));
}

class TreeReader {
 public:
  explicit TreeReader(PackTree& tree) : tree(tree) {}

  void ReadFolder(const std::filesystem::path& path, PackFolder& folder, std::size_t depth) {
    std::error_code error;
    std::filesystem::directory_iterator it(path, error);
    if (error) return Refuse(path, "cannot be read: " + error.message());
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
      const std::filesystem::path child = it->path();
      struct stat info;
      if (::lstat(child.c_str(), &info) != 0) {
        Refuse(child, std::string("cannot be read: ") + std::strerror(errno));
      } else if (S_ISDIR(info.st_mode)) {
        AddFolder(child, info, folder, depth + 1);
      } else if (S_ISREG(info.st_mode)) {
        AddFile(child, info, folder);
      } else {
        Refuse(child, S_ISLNK(info.st_mode) ? "is a symbolic link (links are not followed)"
                                            : "is not a regular file or folder");
      }
    }
    if (error) Refuse(path, "cannot be read: " + error.message());
    std::sort(folder.folders.begin(), folder.folders.end(),
              [](const PackFolder& a, const PackFolder& b) { return a.name < b.name; });
    std::sort(folder.files.begin(), folder.files.end(), [](const PackFile& a, const PackFile& b) {
      return a.name != b.name ? a.name < b.name : a.type < b.type;
    });
  }

 private:
  void Refuse(const std::filesystem::path& path, std::string reason) {
    tree.refusals.push_back({path, std::move(reason)});
  }

  void Touch(std::uint32_t time) { tree.newest = std::max(tree.newest, time); }

  // The archive's bytes for an on-disk name, or nullopt after refusing it.
  std::optional<std::string> ArchiveName(const std::filesystem::path& path) {
    std::optional<std::string> name = text::Windows1252FromUtf8(path.filename().string());
    if (!name) {
      Refuse(path, "its name has characters that Windows-1252 cannot hold");
    } else if (name->find('\\') != std::string::npos) {
      // The archive's path separator: the games and the extraction refuse it.
      Refuse(path, "its name holds a backslash");
      name.reset();
    }
    return name;
  }

  void AddFolder(const std::filesystem::path& path, const struct stat& info, PackFolder& parent,
                 std::size_t depth) {
    const std::optional<std::string> name = ArchiveName(path);
    if (!name) return;
    if (name->size() > kMaxPackFolderName)
      return Refuse(path, "a folder name of " + std::to_string(name->size()) +
                              " characters is longer than " + std::to_string(kMaxPackFolderName));
    if (depth > kMaxPackDepth)
      return Refuse(path, "folders nest deeper than " + std::to_string(kMaxPackDepth) + " levels");
    PackFolder folder;
    folder.name = *name;
    folder.time = TimeOf(info);
    Touch(folder.time);
    ReadFolder(path, folder, depth);
    parent.folders.push_back(std::move(folder));
  }

  void AddFile(const std::filesystem::path& path, const struct stat& info, PackFolder& parent) {
    const std::optional<std::string> name = ArchiveName(path);
    if (!name) return;
    const std::size_t dot = name->rfind('.');
    if (dot == std::string::npos || dot + 1 == name->size())
      return Refuse(path, "has no type: files are packed as NAME.TYPE");
    PackFile file;
    file.name = name->substr(0, dot);
    file.type = name->substr(dot + 1);
    if (file.type.size() > kMaxPackType)
      return Refuse(path, "a type of " + std::to_string(file.type.size()) +
                              " characters is longer than " + std::to_string(kMaxPackType));
    if (file.name.size() > kMaxPackFileName)
      return Refuse(path, "a name of " + std::to_string(file.name.size()) +
                              " characters (without the type) is longer than " +
                              std::to_string(kMaxPackFileName));
    if (std::uint64_t(info.st_size) > std::numeric_limits<std::uint32_t>::max())
      return Refuse(path, "a file of " + std::to_string(info.st_size) +
                              " bytes is larger than an archive can hold");
    file.time = TimeOf(info);
    file.size = std::uint64_t(info.st_size);
    file.source = path;
    Touch(file.time);
    parent.files.push_back(std::move(file));
  }

  PackTree& tree;
};

}  // namespace

PackTree ReadPackTree(const std::filesystem::path& folder) {
  PackTree tree;
  TreeReader(tree).ReadFolder(folder, tree.root, 0);
  std::sort(tree.refusals.begin(), tree.refusals.end(),
            [](const PackRefusal& a, const PackRefusal& b) { return a.path < b.path; });
  return tree;
}

}  // namespace REZ
