// Builds REZ archives byte for byte from a tree, for tests, fuzz seeds,
// benchmarks and the sample archives.
//
// Plain layout: the 139-byte header, every folder block (root first, then
// depth first), then the file data in record order unless a file is placed
// explicitly. Retail layout, as the games' own archives are packed: a 168-byte
// header, the data from byte 168, then the folder bodies, each after those of
// its subfolders (the root's last), folder records before file records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rezbuild {

struct Node {
  bool isDir = false;
  std::string name;                    // for files without the type
  std::string type;                    // at most 4 characters ("PID")
  std::optional<std::string> rawType;  // exactly the 4 stored bytes, instead of type
  std::vector<unsigned char> data;
  std::optional<std::uint64_t> dataAt;  // plain layout, Write() only: data placed here
  std::vector<Node> children;
};

Node Folder(std::string name, std::vector<Node> children = {});
Node FileNode(std::string name, std::string type, std::vector<unsigned char> data = {});
Node FileNode(std::string name, std::string type, const std::string& text);
std::vector<unsigned char> Bytes(const std::string& text);

enum class Layout { Plain, Retail };

std::vector<unsigned char> Build(const Node& root, Layout layout = Layout::Plain);
// Files with dataAt are written there, leaving a sparse hole.
void Write(const std::filesystem::path& path, const Node& root, Layout layout = Layout::Plain);
void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

void PutU32(std::vector<unsigned char>& out, std::uint32_t value);
void SetU32(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value);
// The 139 header bytes of a plain archive.
std::vector<unsigned char> Header(std::uint32_t rootOffset, std::uint32_t rootSize);

}  // namespace rezbuild
