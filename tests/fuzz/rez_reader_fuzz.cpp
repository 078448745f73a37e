// Opens each input as an archive and exercises everything a loaded archive
// offers: the whole tree is walked, every file read both ways, every node
// looked up again by its path, and the statistics gathered.
//
// With TARNWICK_WRITE_SEEDS naming a folder, writes a seed corpus of small
// valid archives there, in both the plain and the retail layout, and exits.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "archive/ArchiveStats.h"
#include "archive/cREZ.h"
#include "extract/EntryNames.h"
#include "text/Windows1252.h"

namespace {

using namespace rezbuild;
using fuzz::Check;

// Small valid archives, in both layouts.
std::vector<std::vector<unsigned char>> Seeds() {
  Node rawType = FileNode("FRAME002", "");
  rawType.rawType = "ZYX.";
  const std::vector<Node> roots = {
      Folder("ROOT", {FileNode("A", "TXT", "hello")}),
      Folder("ROOT",
             {Folder("CLAW", {Folder("PALETTES", {FileNode("MAIN", "PAL", std::string(768, 9))}),
                              Folder("IMAGES", {FileNode("FRAME1", "PID", "pixels"), rawType})}),
              Folder("GRUNTZ", {Folder("EMPTY"), FileNode("README", ""), FileNode("", "TXT", "")}),
              FileNode("DUP", "TXT", "one"), FileNode("DUP", "TXT", "two")}),
  };
  std::vector<std::vector<unsigned char>> seeds;
  for (const Node& root : roots)
    for (const Layout layout : {Layout::Plain, Layout::Retail})
      seeds.push_back(Build(root, layout));
  return seeds;
}

// Keeps the optimiser from dropping reads whose results are otherwise unused.
volatile std::size_t sink;

void Walk(const REZ::Dir& root, const REZ::Dir& folder, const std::string& prefix) {
  for (const auto& child : folder.children) {
    const std::string path = prefix.empty() ? child->name : prefix + "/" + child->name;
    Check(child->IsDir() != child->IsFile());
    // A name used on disk is valid UTF-8 and one path component.
    if (const auto diskName = DiskNameOf(child->name))
      Check(text::IsValidUtf8(*diskName) && diskName->find('/') == std::string::npos);

    // A node found by its own path carries the name asked for.
    if (const REZ::Element* found = root.GetElement(path)) {
      const auto slash = path.find_last_of('/');
      const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
      if (child->name.find('\\') == std::string::npos) Check(found->name == last);
    }

    if (child->IsDir()) {
      Walk(root, static_cast<const REZ::Dir&>(*child), path);
      continue;
    }
    const auto& file = static_cast<const REZ::File&>(*child);
    const auto whole = file.GetData();
    Check(whole.size() == file.size);
    const auto head = file.GetData(32);
    Check(head.size() == 32);
    for (std::size_t i = 0; i < 32 && i < whole.size(); ++i) Check(head[i] == whole[i]);
    const auto longer = file.GetData(file.size + 16);
    Check(longer.size() == std::size_t(file.size) + 16);
    sink = sink + whole.size() + (REZ::FileExtension(file.name) ? 1 : 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::WriteSeedsIfAsked(Seeds, ".rez");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The reader opens archives by path, so each input goes through a file.
  static const fuzz::Scratch input("rez-fuzz.rez");
  WriteBytes(input.path, std::vector<unsigned char>(data, data + size));
  try {
    REZ::Parser parser(input.path);
    Check(parser.loaded);
    Check(parser.ArchiveSize() == size);
    Walk(parser.Root(), parser.Root(), "");
    std::vector<TypeStat> stats;
    CollectTypeStats(stats, parser.Root());
    for (const std::string& palette : PaletteEntryPaths(parser.Root()))
      Check(REZ::FileExtension(palette) == std::string("PAL"));
    DetectGame(parser);
    Check(GameName(DetectedGame) != nullptr);
  } catch (const REZ::Exception& e) {
    Check(!e.message.empty());
  }
  return 0;
}
