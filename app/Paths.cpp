#include "app/Paths.h"

#include "archive/cREZ.h"

namespace {

std::string::size_type LastSeparator(const std::string& path) {
  return path.find_last_of("/\\");
}

}  // namespace

std::string PathDirectory(const std::string& path) {
  const auto separator = LastSeparator(path);
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

std::string PathFileName(const std::string& path) {
  const auto separator = LastSeparator(path);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FileBaseName(const std::string& fileName) {
  const auto dot = fileName.rfind('.');
  if (dot == std::string::npos || dot + 1 == fileName.size()) return fileName;
  return fileName.substr(0, dot);
}

std::string DefaultDestination(const std::string& path) {
  const std::string fileName = PathFileName(path);
  const std::optional<std::string> extension = REZ::FileExtension(fileName);
  std::string folderName = FileBaseName(fileName);
  folderName += extension ? " " + *extension : std::string(" extracted");
  // A bare file name stays relative: joining it to an empty folder would put
  // the proposal at the root of the file system.
  if (LastSeparator(path) == std::string::npos) return folderName;
  return PathDirectory(path) + "/" + folderName;
}
