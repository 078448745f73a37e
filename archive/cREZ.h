// Reader for REZ-format resource archives (.REZ, .VRZ, .SRZ).
//
// An archive is opened whole: the header and the complete folder tree are read
// when the Parser is constructed; file bytes are read on demand afterwards.
// Every offset, size and name in the archive is checked against the file before
// it is used; a damaged archive raises REZ::Exception instead of misbehaving.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace REZ {

// Where the header keeps the version and the root folder's block (32-bit
// little-endian words), as the reader takes them and the writer puts them.
constexpr std::uint64_t kVersionAt = 127;
constexpr std::uint64_t kRootOffsetAt = 131;
constexpr std::uint64_t kRootSizeAt = 135;
// A name is scanned into this many bytes, its terminating NULs included.
constexpr std::size_t kNameBufferSize = 128;
// Real archives nest a handful of levels; anything this deep is an attack.
constexpr std::size_t kMaxFolderDepth = 256;

enum ErrorCode : std::int32_t {
  kInvalidFormat = 2,
  kUnsupportedVersion = 3,
  kUndefinedParser = 5,
};

class Exception : public std::exception {
 public:
  Exception(std::string message, std::int32_t code, std::string file, std::int32_t line,
            std::string detail = {});
  const char* what() const noexcept override { return message.c_str(); }

  std::string message;  // the text the user sees, e.g. "Invalid format."
  std::int32_t code;
  std::string file;  // source unit that raised it
  std::int32_t line;
  std::string detail;  // what exactly was wrong, with the values involved
};

class Parser;

class Element {
 public:
  virtual ~Element() = default;
  virtual bool IsDir() const { return false; }
  virtual bool IsFile() const { return false; }

  Parser* parser = nullptr;
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
  std::uint32_t time = 0;
  std::string name;
};

class Dir : public Element {
 public:
  bool IsDir() const override { return true; }

  // Finds a node by a path relative to this folder. Both "/" and "\" separate
  // segments; one leading separator is ignored; names compare case-sensitively.
  // Returns nullptr when nothing matches.
  Element* GetElement(std::string_view path) const;

  std::vector<std::unique_ptr<Element>> children;
};

class File : public Element {
 public:
  bool IsFile() const override { return true; }

  // The whole file.
  std::vector<unsigned char> GetData() const;
  // The first n bytes at the file's offset, whatever the file's size; bytes
  // past the end of the archive are zero.
  std::vector<unsigned char> GetData(std::uint32_t n) const;

  std::uint32_t id = 0;
};

class Parser {
 public:
  // Opens and loads the archive; raises REZ::Exception when it cannot.
  explicit Parser(const std::filesystem::path& path);
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  Dir& Root() { return root; }
  const Dir& Root() const { return root; }
  std::istream& GetStream();
  std::uint64_t ArchiveSize() const { return fileSize; }

  // Reads n bytes at an absolute position; bytes past the end of the file are
  // zero. The stream position is restored afterwards.
  std::vector<unsigned char> ReadAt(std::uint64_t position, std::uint32_t n);

  Dir root;
  std::ifstream stream;
  bool loaded = false;
  char headerText1[60] = {};
  char headerText2[60] = {};
  std::uint32_t version = 0;

 private:
  void Open(const std::filesystem::path& path);
  void ReadHeader();
  void ReadDirectory(Dir& folder);

  std::uint64_t fileSize = 0;
  // Folders whose blocks are being read, outermost first, each with the end of
  // the bytes its block has really consumed so far (at least its stated size
  // less the one byte the record loop never reads): a nested folder may not
  // point back into any of them.
  struct OpenBlock {
    const Dir* folder;
    std::uint64_t end;
  };
  std::vector<OpenBlock> openFolders;
  std::uint64_t nodeCount = 0;
  std::uint64_t nodeLimit = 0;
};

// Text after the last dot of a name; nullopt without a dot or when the dot is last.
std::optional<std::string> FileExtension(std::string_view name);

// Copy of text with every occurrence of find replaced; the search resumes at
// the match position plus the length of find.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

}  // namespace REZ
