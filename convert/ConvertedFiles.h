// What a format conversion hands back: the files to write, or why it could not.
//
// Converters are pure functions of an entry's name and bytes; the extraction
// worker writes the files through the same checked writer as every other
// output, next to where the entry itself would go.
#pragma once

#include <string>
#include <vector>

struct ConvertedFile {
  std::string name;  // a bare file name, derived from the entry's
  std::vector<unsigned char> bytes;
};

struct ConvertedFiles {
  std::vector<ConvertedFile> files;
  // Empty on success; otherwise what was wrong with the input, with the values.
  std::string error;
};

// name without its last ".<type>" (the whole name when it has no such type).
std::string NameWithoutType(const std::string& name, const std::string& type);
