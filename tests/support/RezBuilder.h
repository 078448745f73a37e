// Builds REZ archives byte for byte from a tree description, for tests,
// fuzz seeds, benchmarks and the sample archive.
//
// Two layouts. The plain one: the 139-byte header, then every directory block
// (root first, then each folder's block in depth-first order), then the file
// data in record order, unless a file asks for an explicit data offset. The
// retail one, as the games' own archives are packed: a 168-byte header, the
// file data from byte 168, then the folder bodies with each folder's body
// before its parent's (the root's last), folder records before file records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rezbuild {

struct Node {
  bool isDir = false;
  std::string name;                    // record name (for files: without the type)
  std::string type;                    // file type text, at most 4 characters ("PID")
  std::optional<std::string> rawType;  // exactly 4 stored bytes, overrides type
  std::vector<unsigned char> data;
  std::optional<std::uint64_t> dataAt;  // place the data here (sparse file)
  std::uint32_t time = 0;
  std::uint32_t id = 0;
  std::vector<Node> children;
};

Node Folder(std::string name, std::vector<Node> children = {});
Node FileNode(std::string name, std::string type, std::vector<unsigned char> data = {});
Node FileNode(std::string name, std::string type, const std::string& text);

std::vector<unsigned char> Bytes(const std::string& text);

enum class Layout { Plain, Retail };

// The whole archive in memory (no dataAt support).
std::vector<unsigned char> Build(const Node& root, Layout layout = Layout::Plain);
// Writes the archive; files with dataAt are written there, leaving holes.
void Write(const std::filesystem::path& path, const Node& root, Layout layout = Layout::Plain);
void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// Little-endian helpers for hand-made bytes.
void PutU32(std::vector<unsigned char>& out, std::uint32_t value);
void SetU32(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value);

// The 139 header bytes with the given root block position and size.
std::vector<unsigned char> Header(std::uint32_t rootOffset, std::uint32_t rootSize,
                                  std::uint32_t version = 1);

}  // namespace rezbuild
