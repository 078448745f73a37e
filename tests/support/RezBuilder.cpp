#include "support/RezBuilder.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>

namespace rezbuild {

namespace {

constexpr std::uint32_t kHeaderSize = 139;

std::uint32_t RecordSize(const Node& node) {
  return node.isDir ? 16 + static_cast<std::uint32_t>(node.name.size()) + 1
                    : 28 + static_cast<std::uint32_t>(node.name.size()) + 2;
}

std::uint32_t BlockSize(const Node& folder) {
  std::uint32_t size = 0;
  for (const auto& child : folder.children) size += RecordSize(child);
  return size;
}

struct Placement {
  std::vector<unsigned char> directory;  // all blocks, starting at kHeaderSize
  std::vector<std::pair<std::uint64_t, const Node*>> data;
};

class PlainLayout {
 public:
  explicit PlainLayout(const Node& root) {
    // First pass: where each block goes.
    std::uint32_t next = kHeaderSize;
    AssignBlocks(root, next);
    dataStart = next;
  }

  std::vector<unsigned char> HeaderBytes(const Node& root) const {
    return Header(blockOffset.at(&root), BlockSize(root));
  }

  // Second pass: the records, with data offsets.
  void Emit(const Node& folder, Placement& out) {
    for (const auto& child : folder.children) {
      std::vector<unsigned char>& d = out.directory;
      if (child.isDir) {
        PutU32(d, 1);
        const std::uint32_t size = BlockSize(child);
        PutU32(d, size ? blockOffset.at(&child) : 0);
        PutU32(d, size);
        PutU32(d, child.time);
        d.insert(d.end(), child.name.begin(), child.name.end());
        d.push_back(0);
      } else {
        std::uint64_t at = child.dataAt ? *child.dataAt : nextData;
        if (!child.dataAt) nextData += child.data.size();
        if (at > 0xFFFFFFFFu) throw std::runtime_error("data offset does not fit 32 bits");
        out.data.emplace_back(at, &child);
        PutU32(d, 0);
        PutU32(d, static_cast<std::uint32_t>(at));
        PutU32(d, static_cast<std::uint32_t>(child.data.size()));
        PutU32(d, child.time);
        PutU32(d, child.id);
        if (child.rawType) {
          if (child.rawType->size() != 4) throw std::runtime_error("raw type needs 4 bytes");
          d.insert(d.end(), child.rawType->begin(), child.rawType->end());
        } else {
          if (child.type.size() > 4) throw std::runtime_error("type longer than 4");
          for (std::size_t i = 0; i < 4; ++i)
            d.push_back(i < child.type.size()
                            ? static_cast<unsigned char>(child.type[child.type.size() - 1 - i])
                            : 0);
        }
        PutU32(d, 0);
        d.insert(d.end(), child.name.begin(), child.name.end());
        d.push_back(0);
        d.push_back(0);
      }
    }
    for (const auto& child : folder.children)
      if (child.isDir) Emit(child, out);
  }

  std::uint64_t dataStart = 0;
  std::uint64_t nextData = 0;

 private:
  void AssignBlocks(const Node& folder, std::uint32_t& next) {
    blockOffset[&folder] = next;
    next += BlockSize(folder);
    for (const auto& child : folder.children)
      if (child.isDir) AssignBlocks(child, next);
  }

  std::map<const Node*, std::uint32_t> blockOffset;
};

Placement Place(const Node& root, std::vector<unsigned char>& header) {
  PlainLayout layout(root);
  header = layout.HeaderBytes(root);
  layout.nextData = layout.dataStart;
  Placement placement;
  layout.Emit(root, placement);
  return placement;
}

void PutRecord(std::vector<unsigned char>& d, const Node& child, std::uint32_t offset,
               std::uint32_t size) {
  PutU32(d, child.isDir ? 1 : 0);
  PutU32(d, offset);
  PutU32(d, size);
  PutU32(d, child.time);
  if (!child.isDir) {
    PutU32(d, child.id);
    const std::string stored =
        child.rawType ? *child.rawType : std::string(child.type.rbegin(), child.type.rend());
    if (stored.size() > 4) throw std::runtime_error("type longer than 4");
    d.insert(d.end(), stored.begin(), stored.end());
    d.resize(d.size() + 4 - stored.size(), 0);
    PutU32(d, 0);  // key count
  }
  d.insert(d.end(), child.name.begin(), child.name.end());
  d.push_back(0);
  if (!child.isDir) d.push_back(0);  // empty comment
}

// The retail packer's order: data first, then bodies depth first with every
// folder's body after those of its subfolders.
class RetailLayout {
 public:
  std::vector<unsigned char> Build(const Node& root) {
    out.assign(kRetailHeader, 0);
    PlaceData(root);
    const std::uint32_t dataEnd = static_cast<std::uint32_t>(out.size());
    const auto [rootOffset, rootSize] = EmitBody(root);
    std::vector<unsigned char> header = Header(rootOffset, rootSize);
    header.resize(kRetailHeader, 0);
    std::replace(header.begin() + 2, header.begin() + 62, '\0', ' ');
    std::fill(header.begin() + 64, header.begin() + 124, ' ');
    SetU32(header, 0x8F, dataEnd);
    SetU32(header, 0x9B, longestFolder + 1);
    SetU32(header, 0x9F, longestFile + 1);
    header[0xA7] = 1;
    std::copy(header.begin(), header.end(), out.begin());
    return out;
  }

 private:
  static constexpr std::size_t kRetailHeader = 168;

  void PlaceData(const Node& folder) {
    for (const auto& child : folder.children) {
      if (child.isDir) {
        longestFolder = std::max<std::uint32_t>(longestFolder, child.name.size());
        PlaceData(child);
        continue;
      }
      if (child.dataAt) throw std::runtime_error("the retail layout places all data itself");
      longestFile = std::max<std::uint32_t>(longestFile, child.name.size());
      dataOffset[&child] = static_cast<std::uint32_t>(out.size());
      out.insert(out.end(), child.data.begin(), child.data.end());
    }
  }

  std::pair<std::uint32_t, std::uint32_t> EmitBody(const Node& folder) {
    std::map<const Node*, std::pair<std::uint32_t, std::uint32_t>> bodies;
    for (const auto& child : folder.children)
      if (child.isDir) bodies[&child] = EmitBody(child);
    std::vector<unsigned char> body;
    for (const auto& child : folder.children)
      if (child.isDir) PutRecord(body, child, bodies[&child].first, bodies[&child].second);
    for (const auto& child : folder.children)
      if (!child.isDir)
        PutRecord(body, child, dataOffset.at(&child),
                  static_cast<std::uint32_t>(child.data.size()));
    const auto at = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), body.begin(), body.end());
    return {body.empty() ? 0 : at, static_cast<std::uint32_t>(body.size())};
  }

  std::vector<unsigned char> out;
  std::map<const Node*, std::uint32_t> dataOffset;
  std::uint32_t longestFolder = 0;
  std::uint32_t longestFile = 0;
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
  return std::vector<unsigned char>(text.begin(), text.end());
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void SetU32(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.at(at + i) = static_cast<unsigned char>(value >> (8 * i));
}

std::vector<unsigned char> Header(std::uint32_t rootOffset, std::uint32_t rootSize,
                                  std::uint32_t version) {
  std::vector<unsigned char> h(kHeaderSize, 0);
  h[0] = 0x0D;
  h[1] = 0x0A;
  const std::string text1 = "RezMgr Version 1 Copyright (C) 1995 MONOLITH INC.";
  const std::string text2 = "Built by the Tarnwick test support";
  std::copy(text1.begin(), text1.end(), h.begin() + 2);
  h[62] = 0x0D;
  h[63] = 0x0A;
  std::copy(text2.begin(), text2.end(), h.begin() + 64);
  h[124] = 0x0D;
  h[125] = 0x0A;
  h[126] = 0x1A;
  SetU32(h, 127, version);
  SetU32(h, 131, rootOffset);
  SetU32(h, 135, rootSize);
  return h;
}

std::vector<unsigned char> Build(const Node& root, Layout layout) {
  if (layout == Layout::Retail) return RetailLayout().Build(root);
  std::vector<unsigned char> out;
  Placement placement = Place(root, out);
  out.insert(out.end(), placement.directory.begin(), placement.directory.end());
  for (const auto& [at, node] : placement.data) {
    if (node->dataAt) throw std::runtime_error("Build() cannot place data; use Write()");
    if (out.size() < at + node->data.size()) out.resize(at + node->data.size());
    std::copy(node->data.begin(), node->data.end(), out.begin() + static_cast<long>(at));
  }
  return out;
}

void Write(const std::filesystem::path& path, const Node& root, Layout layout) {
  if (layout == Layout::Retail) return WriteBytes(path, Build(root, layout));
  std::vector<unsigned char> header;
  Placement placement = Place(root, header);
  // Data without an explicit place follows the directory contiguously, in
  // placement order, so it goes out in one piece; placed data is sought to.
  std::vector<unsigned char> contiguous = std::move(header);
  contiguous.insert(contiguous.end(), placement.directory.begin(), placement.directory.end());
  for (const auto& [at, node] : placement.data)
    if (!node->dataAt) contiguous.insert(contiguous.end(), node->data.begin(), node->data.end());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path.string());
  out.write(reinterpret_cast<const char*>(contiguous.data()), static_cast<long>(contiguous.size()));
  for (const auto& [at, node] : placement.data) {
    if (!node->dataAt) continue;
    out.seekp(static_cast<std::streamoff>(at));
    out.write(reinterpret_cast<const char*>(node->data.data()),
              static_cast<long>(node->data.size()));
  }
  if (!out) throw std::runtime_error("write failed: " + path.string());
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace rezbuild
