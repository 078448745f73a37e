// What a format conversion hands back: the files to write, or why it could not.
//
// Converters are pure functions of an entry's name and bytes; the extraction
// worker writes the files through the same checked writer as every other
// output, next to where the entry itself would go.
#pragma once

#include <cstddef>
#include <cstdint>
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

using ConvertFunction = ConvertedFiles (*)(const std::string& entryName, const unsigned char* data,
                                           std::size_t size);

// Why convert refuses an input of size bytes on its size alone; empty when it
// does not. Asked before an entry is read, so that a huge one never is.
std::string SizeRefusal(ConvertFunction convert, std::uint64_t size);

// name without its last ".<type>" (the whole name when it has no such type).
std::string NameWithoutType(const std::string& name, const std::string& type);
