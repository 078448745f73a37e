#include "support/RezBuilder.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>

namespace rezbuild {

namespace {

using Bytes8 = std::vector<unsigned char>;

std::uint32_t BlockSize(const Node& folder) {
  std::uint32_t size = 0;
  for (const Node& c : folder.children)
    size += static_cast<std::uint32_t>(c.name.size()) + (c.isDir ? 17 : 30);
  return size;
}

// Folder records give their block, file records their data.
void PutRecord(Bytes8& d, const Node& node, std::uint64_t offset) {
  if (offset > 0xFFFFFFFFu) throw std::runtime_error("offset does not fit 32 bits");
  const std::uint32_t size = node.isDir ? BlockSize(node) : std::uint32_t(node.data.size());
  PutU32(d, node.isDir ? 1 : 0);
  PutU32(d, node.isDir && size == 0 ? 0 : std::uint32_t(offset));
  PutU32(d, size);
  PutU32(d, 0);  // time
  if (!node.isDir) {
    PutU32(d, 0);  // id
    const std::string stored =
        node.rawType.value_or(std::string(node.type.rbegin(), node.type.rend()));
    if (stored.size() > 4 || (node.rawType && stored.size() != 4))
      throw std::runtime_error("a type takes 4 bytes");
    d.insert(d.end(), stored.begin(), stored.end());
    d.resize(d.size() + 4 - stored.size(), 0);
    PutU32(d, 0);  // key count
  }
  d.insert(d.end(), node.name.begin(), node.name.end());
  d.resize(d.size() + (node.isDir ? 1 : 2), 0);  // NUL, and a file's empty comment
}

struct Plain {
  std::map<const Node*, std::uint32_t> blockAt;
  Bytes8 out;
  std::vector<const Node*> placed;
  std::uint64_t nextData = 0;

  void Assign(const Node& folder, std::uint32_t& next) {
    blockAt[&folder] = next;
    next += BlockSize(folder);
    for (const Node& c : folder.children)
      if (c.isDir) Assign(c, next);
  }
  void Emit(const Node& folder) {
    for (const Node& c : folder.children) {
      if (!c.isDir && c.dataAt) placed.push_back(&c);
      PutRecord(out, c, c.isDir ? blockAt[&c] : c.dataAt.value_or(nextData));
      if (!c.isDir && !c.dataAt) nextData += c.data.size();
    }
    for (const Node& c : folder.children)
      if (c.isDir) Emit(c);
  }
  void Data(const Node& folder) {  // in the order Emit placed it
    for (const Node& c : folder.children)
      if (!c.isDir && !c.dataAt) out.insert(out.end(), c.data.begin(), c.data.end());
    for (const Node& c : folder.children)
      if (c.isDir) Data(c);
  }
  explicit Plain(const Node& root) {
    std::uint32_t next = 139;
    Assign(root, next);
    nextData = next;
    out = Header(139, BlockSize(root));
    Emit(root);
    Data(root);
  }
};

struct Retail {
  Bytes8 out = Bytes8(168, 0);
  std::map<const Node*, std::uint32_t> at;
  std::uint32_t longestFolder = 0, longestFile = 0;

  void PlaceData(const Node& folder) {
    for (const Node& c : folder.children) {
      if (c.dataAt) throw std::runtime_error("the retail layout places all data itself");
      (c.isDir ? longestFolder : longestFile) =
          std::max<std::uint32_t>(c.isDir ? longestFolder : longestFile, c.name.size());
      if (c.isDir) {
        PlaceData(c);
      } else {
        at[&c] = static_cast<std::uint32_t>(out.size());
        out.insert(out.end(), c.data.begin(), c.data.end());
      }
    }
  }
  std::uint32_t EmitBody(const Node& folder) {
    for (const Node& c : folder.children)
      if (c.isDir) at[&c] = EmitBody(c);
    Bytes8 body;
    for (bool dirs : {true, false})
      for (const Node& c : folder.children)
        if (c.isDir == dirs) PutRecord(body, c, at[&c]);
    const auto where = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), body.begin(), body.end());
    return where;
  }
  explicit Retail(const Node& root) {
    PlaceData(root);
    const auto dataEnd = static_cast<std::uint32_t>(out.size());
    const std::uint32_t rootAt = EmitBody(root), rootSize = BlockSize(root);
    Bytes8 header = Header(rootSize ? rootAt : 0, rootSize);
    header.resize(168, 0);
    std::replace(header.begin() + 2, header.begin() + 62, '\0', ' ');
    std::fill(header.begin() + 64, header.begin() + 124, ' ');
    SetU32(header, 0x8F, dataEnd);
    SetU32(header, 0x9B, longestFolder + 1);
    SetU32(header, 0x9F, longestFile + 1);
    header[0xA7] = 1;
    std::copy(header.begin(), header.end(), out.begin());
  }
};

}  // namespace

Node Folder(std::string name, std::vector<Node> children) {
  Node node;
  node.isDir = true;
  node.name = std::move(name);
  node.children = std::move(children);
  return node;
}

Node FileNode(std::string name, std::string type, std::vector<unsigned char> data) {
  Node node;
  node.name = std::move(name);
  node.type = std::move(type);
  node.data = std::move(data);
  return node;
}

Node FileNode(std::string name, std::string type, const std::string& text) {
  return FileNode(std::move(name), std::move(type), Bytes(text));
}

std::vector<unsigned char> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void SetU32(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.at(at + i) = static_cast<unsigned char>(value >> (8 * i));
}

std::vector<unsigned char> Header(std::uint32_t rootOffset, std::uint32_t rootSize) {
  Bytes8 h(139, 0);
  const std::string text1 = "\r\nRezMgr Version 1 Copyright (C) 1995 MONOLITH INC.";
  const std::string text2 = "\r\nBuilt by the Tarnwick test support";
  std::copy(text1.begin(), text1.end(), h.begin());
  std::copy(text2.begin(), text2.end(), h.begin() + 62);
  h[124] = 0x0D;
  h[125] = 0x0A;
  h[126] = 0x1A;
  SetU32(h, 127, 1);  // version
  SetU32(h, 131, rootOffset);
  SetU32(h, 135, rootSize);
  return h;
}

std::vector<unsigned char> Build(const Node& root, Layout layout) {
  if (layout == Layout::Retail) return Retail(root).out;
  Plain plain(root);
  if (!plain.placed.empty()) throw std::runtime_error("Build() cannot place data; use Write()");
  return plain.out;
}

void Write(const std::filesystem::path& path, const Node& root, Layout layout) {
  if (layout == Layout::Retail) return WriteBytes(path, Retail(root).out);
  const Plain plain(root);
  WriteBytes(path, plain.out);
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  for (const Node* node : plain.placed) {
    out.seekp(static_cast<std::streamoff>(*node->dataAt));
    out.write(reinterpret_cast<const char*>(node->data.data()),
              static_cast<std::streamsize>(node->data.size()));
  }
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace rezbuild
