#include "archive/cREZ.h"

#include <algorithm>
#include <cstring>

#include "text/Windows1252.h"

namespace REZ {

namespace {

constexpr const char* kSourceUnit = "cREZ";
constexpr std::uint64_t kHeaderSize = 139;
constexpr std::size_t kFolderRecordFixed = 16;
constexpr std::size_t kFileRecordFixed = 28;
// The smallest record (a folder with an empty name) takes 17 bytes of the file,
// so a well-formed archive never holds more nodes than this bound allows.
constexpr std::uint64_t kMinRecordBytes = 17;

// A name from the archive as a refusal quotes it: in the games' code page,
// decoded like every name shown, so that the detail is UTF-8 throughout.
std::string Quoted(const std::string& archiveName) {
  return "\"" + text::Utf8FromWindows1252(archiveName) + "\"";
}

[[noreturn]] void Fail(int line, std::string detail) {
  throw Exception("Invalid format.", kInvalidFormat, kSourceUnit, line, std::move(detail));
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
  return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
         std::uint32_t(bytes[3]) << 24;
}

// The four type bytes are stored last-first; leading NULs (in reading order)
// are dropped and the first NUL after a character ends the text.
std::string TypeText(const unsigned char* stored) {
  std::string type;
  bool started = false;
  for (int i = 3; i >= 0; --i) {
    const char c = static_cast<char>(stored[i]);
    if (!started && c == '\0') continue;
    if (c == '\0') break;
    started = true;
    type.push_back(c);
  }
  return type;
}

std::string Describe(std::string_view what, std::uint64_t offset, std::uint64_t size,
                     std::uint64_t fileSize) {
  return std::string(what) + " at offset " + std::to_string(offset) + " with size " +
         std::to_string(size) + " ends past the end of the file (" + std::to_string(fileSize) +
         " bytes)";
}

// Buffered, bounds-checked reading of the directory records. Directory blocks
// are read with many small reads and seeks; a window over the file keeps them
// off the system-call path.
class RecordReader {
 public:
  // blockEnd is where the folder's block ends: windows stop a little past it,
  // so that small folders do not each pull in a full window.
  RecordReader(std::ifstream& stream, std::uint64_t fileSize, std::uint64_t blockEnd)
      : stream(stream), fileSize(fileSize), blockEnd(blockEnd) {}

  std::uint64_t Position() const { return position; }
  void Seek(std::uint64_t to) { position = to; }

  // Returns a pointer to n bytes at the current position and advances, or
  // nullptr when they would run past the end of the file.
  const unsigned char* Take(std::size_t n) {
    if (position > fileSize || n > fileSize - position) return nullptr;
    if (position < windowStart || position + n > windowStart + window.size()) Fill(n);
    const unsigned char* bytes = window.data() + (position - windowStart);
    position += n;
    return bytes;
  }

 private:
  void Fill(std::size_t atLeast) {
    // The last record may run past the block by up to one record.
    const std::uint64_t ahead =
        blockEnd + kMaxRecordBytes > position ? blockEnd + kMaxRecordBytes - position : 0;
    const std::uint64_t want =
        std::max<std::uint64_t>(atLeast, std::min<std::uint64_t>(ahead, kWindowSize));
    const std::uint64_t length = std::min<std::uint64_t>(want, fileSize - position);
    window.resize(length);
    stream.clear();
    stream.seekg(static_cast<std::streamoff>(position));
    stream.read(reinterpret_cast<char*>(window.data()), static_cast<std::streamsize>(length));
    if (static_cast<std::uint64_t>(stream.gcount()) != length)
      Fail(__LINE__, "read error at offset " + std::to_string(position));
    windowStart = position;
  }

  static constexpr std::uint64_t kWindowSize = 64 * 1024;
  static constexpr std::uint64_t kMaxRecordBytes = kFileRecordFixed + kNameBufferSize;
  std::ifstream& stream;
  std::uint64_t fileSize;
  std::uint64_t blockEnd;
  std::uint64_t position = 0;
  std::uint64_t windowStart = 0;
  std::vector<unsigned char> window;
};

}  // namespace

Exception::Exception(std::string message, std::int32_t code, std::string file, std::int32_t line,
                     std::string detail)
    : message(std::move(message)),
      code(code),
      file(std::move(file)),
      line(line),
      detail(std::move(detail)) {}

// ---------------------------------------------------------------- Parser

Parser::Parser(const std::filesystem::path& path) {
  root.parser = this;
  Open(path);
}

void Parser::Open(const std::filesystem::path& path) {
  // Opening a pipe would wait for a writer, and devices have no size to check
  // offsets against: only regular files are archives.
  std::error_code statusError;
  const auto status = std::filesystem::status(path, statusError);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    Fail(__LINE__, path.string() + " is not a regular file");
  stream.open(path, std::ios::binary | std::ios::in);
  if (!stream.is_open()) Fail(__LINE__, "cannot open " + path.string());
  std::error_code error;
  const auto measured = std::filesystem::file_size(path, error);
  if (error) Fail(__LINE__, "cannot measure " + path.string() + ": " + error.message());
  fileSize = measured;
  ReadHeader();
}

void Parser::ReadHeader() {
  unsigned char header[kHeaderSize] = {};
  stream.seekg(0);
  stream.read(reinterpret_cast<char*>(header), kHeaderSize);
  const auto got = static_cast<std::size_t>(stream.gcount());
  stream.clear();

  if (got < 2 || header[0] != 0x0D || header[1] != 0x0A)
    Fail(__LINE__, "the file does not start with the bytes 0D 0A");
  // A version we do not know may come with a header of another length: say
  // so rather than calling the file damaged.
  if (got >= kVersionAt + 4) {
    version = LittleEndian32(header + kVersionAt);
    if (version != 1)
      throw Exception("Unsupported version.", kUnsupportedVersion, kSourceUnit, __LINE__,
                      "version " + std::to_string(version) + ", only 1 is known");
  }
  if (got < kHeaderSize)
    Fail(__LINE__, "the header needs " + std::to_string(kHeaderSize) + " bytes, the file has " +
                       std::to_string(got));

  std::memcpy(headerText1, header + 2, sizeof headerText1);
  headerText1[59] = '\0';
  std::memcpy(headerText2, header + 64, sizeof headerText2);
  headerText2[59] = '\0';

  root.offset = LittleEndian32(header + kRootOffsetAt);
  root.size = LittleEndian32(header + kRootSizeAt);
  root.name = "ROOT";

  nodeLimit = fileSize / kMinRecordBytes + 1;
  ReadDirectory(root);
  // Leave the stream where the header ends, as every block read restores it.
  stream.clear();
  stream.seekg(static_cast<std::streamoff>(kHeaderSize));
  loaded = true;
}

void Parser::ReadDirectory(Dir& folder) {
  // A block of 0 or 1 bytes holds no record and is never visited, wherever it points.
  if (folder.size <= 1) return;
  if (std::uint64_t(folder.offset) + folder.size > fileSize)
    Fail(__LINE__,
         Describe("folder block of " + Quoted(folder.name), folder.offset, folder.size, fileSize));
  if (openFolders.size() >= kMaxFolderDepth)
    Fail(__LINE__, "folders nest deeper than " + std::to_string(kMaxFolderDepth) + " levels");

  RecordReader reader(stream, fileSize, std::uint64_t(folder.offset) + folder.size);
  reader.Seek(folder.offset);
  // The loop below stops once size - 1 bytes are consumed; the last record
  // may run on past that.
  openFolders.push_back({&folder, std::uint64_t(folder.offset) + folder.size - 1});

  std::uint64_t consumed = 0;
  while (consumed < std::uint64_t(folder.size) - 1) {
    const std::uint64_t recordStart = reader.Position();
    const unsigned char* fixed = reader.Take(kFolderRecordFixed);
    if (!fixed) Fail(__LINE__, "record at offset " + std::to_string(recordStart) + " is cut off");
    if (++nodeCount > nodeLimit)
      Fail(__LINE__, "more records than a file of " + std::to_string(fileSize) +
                         " bytes can hold (folders share or repeat blocks)");

    const bool isFile = fixed[0] == 0;
    std::unique_ptr<Element> node;
    if (isFile)
      node = std::make_unique<File>();
    else
      node = std::make_unique<Dir>();
    node->parser = folder.parser;
    node->offset = LittleEndian32(fixed + 4);
    node->size = LittleEndian32(fixed + 8);
    node->time = LittleEndian32(fixed + 12);
    consumed += kFolderRecordFixed;

    if (isFile) {
      const unsigned char* extra = reader.Take(kFileRecordFixed - kFolderRecordFixed);
      if (!extra)
        Fail(__LINE__, "file record at offset " + std::to_string(recordStart) + " is cut off");
      auto& file = static_cast<File&>(*node);
      file.id = LittleEndian32(extra);
      const std::string type = TypeText(extra + 4);
      consumed += kFileRecordFixed - kFolderRecordFixed;

      // The name ends with two NULs (name terminator and an empty comment).
      char name[kNameBufferSize];
      std::size_t length = 0;
      bool terminated = false;
      while (length < kNameBufferSize) {
        const unsigned char* byte = reader.Take(1);
        if (!byte)
          Fail(__LINE__, "name of the file record at offset " + std::to_string(recordStart) +
                             " runs past the end of the file");
        name[length++] = static_cast<char>(*byte);
        if (length >= 2 && name[length - 1] == '\0' && name[length - 2] == '\0') {
          terminated = true;
          break;
        }
      }
      // A scan that fills the buffer still yields a name when it met one NUL.
      if (!terminated && std::memchr(name, 0, length) == nullptr)
        Fail(__LINE__, "name of the file record at offset " + std::to_string(recordStart) +
                           " has no end within 128 bytes");
      consumed += length;
      const std::string stem(name, strnlen(name, length));
      file.name = (!type.empty() && type[0] == '.') ? stem + type : stem + "." + type;
      if (std::uint64_t(file.offset) + file.size > fileSize)
        Fail(__LINE__, Describe("data of " + Quoted(file.name), file.offset, file.size, fileSize));
      folder.children.push_back(std::move(node));
      continue;
    }

    auto& child = static_cast<Dir&>(*node);
    std::string name;
    bool terminated = false;
    while (name.size() < kNameBufferSize) {
      const unsigned char* byte = reader.Take(1);
      if (!byte)
        Fail(__LINE__, "name of the folder record at offset " + std::to_string(recordStart) +
                           " runs past the end of the file");
      ++consumed;
      if (*byte == 0) {
        terminated = true;
        break;
      }
      name.push_back(static_cast<char>(*byte));
    }
    if (!terminated)
      Fail(__LINE__, "name of the folder record at offset " + std::to_string(recordStart) +
                         " has no end within 128 bytes");
    child.name = std::move(name);

    if (child.size != 0) {
      const std::uint64_t resumeAt = reader.Position();
      openFolders.back().end = std::max(openFolders.back().end, resumeAt);
      for (const OpenBlock& open : openFolders) {
        if (child.offset >= open.folder->offset && child.offset < open.end)
          Fail(__LINE__, "folder " + Quoted(child.name) + " points back into the block of " +
                             Quoted(open.folder->name) + " (a cycle)");
      }
      ReadDirectory(child);
      reader.Seek(resumeAt);
    }
    folder.children.push_back(std::move(node));
  }
  openFolders.pop_back();
}

std::istream& Parser::GetStream() {
  if (!loaded)
    throw Exception("Trying to load from undefined parser.", kUndefinedParser, kSourceUnit,
                    __LINE__);
  return stream;
}

std::vector<unsigned char> Parser::ReadAt(std::uint64_t position, std::uint32_t n) {
  std::istream& in = GetStream();
  std::vector<unsigned char> bytes(n, 0);
  if (position >= fileSize || n == 0) return bytes;
  const std::uint64_t available = std::min<std::uint64_t>(n, fileSize - position);
  in.clear();
  const auto saved = in.tellg();
  in.seekg(static_cast<std::streamoff>(position));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(available));
  const auto got = static_cast<std::uint64_t>(in.gcount());
  in.clear();
  in.seekg(saved);
  if (got != available)
    throw Exception("Read error.", kInvalidFormat, kSourceUnit, __LINE__,
                    "could read only " + std::to_string(got) + " of " + std::to_string(available) +
                        " bytes at offset " + std::to_string(position));
  return bytes;
}

// ---------------------------------------------------------------- tree

std::vector<unsigned char> File::GetData() const {
  return parser->ReadAt(offset, size);
}

std::vector<unsigned char> File::GetData(std::uint32_t n) const {
  return parser->ReadAt(offset, n);
}

Element* Dir::GetElement(std::string_view path) const {
  std::string working;
  if (path.find('\\') != std::string_view::npos) {
    working = ReplaceAll(path, "\\", "/");
    path = working;
  }
  if (!path.empty() && path.front() == '/') path.remove_prefix(1);

  const auto findChild = [this](std::string_view name) -> Element* {
    for (const auto& child : children)
      if (child->name == name) return child.get();
    return nullptr;
  };

  const auto slash = path.find('/');
  if (slash == std::string_view::npos) return findChild(path);

  constexpr std::size_t kMaxInnerSegment = 62;
  const std::string_view first = path.substr(0, slash);
  if (first.size() > kMaxInnerSegment) return nullptr;
  Element* next = findChild(first);
  if (!next || !next->IsDir()) return nullptr;
  return static_cast<Dir*>(next)->GetElement(path.substr(slash + 1));
}

// ---------------------------------------------------------------- text helpers

std::optional<std::string> FileExtension(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return std::nullopt;
  return std::string(name.substr(dot + 1));
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  std::string result(text);
  if (find.empty()) return result;
  // The search resumes find.size() after a match. A longer replacement that
  // contains `find` would then be matched inside itself again and again, so a
  // match lying wholly inside the text just inserted is skipped; for texts of
  // equal length this changes nothing.
  std::size_t from = 0;
  for (auto at = result.find(find); at != std::string::npos; at = result.find(find, from)) {
    result.replace(at, find.size(), replacement);
    from = at + find.size();
    if (replacement.size() >= find.size())
      from = std::max(from, at + replacement.size() - find.size() + 1);
  }
  return result;
}

}  // namespace REZ
