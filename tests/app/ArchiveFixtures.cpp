#include "ArchiveFixtures.h"

#include <vector>

#include "support/PidBuilder.h"
#include "support/RezBuilder.h"

namespace apptest {

using rezbuild::FileNode;
using rezbuild::Folder;

void WriteSmallArchive(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  rezbuild::Write(
      path,
      Folder(
          "ROOT",
          {FileNode("README", "TXT", "hello\n"),
           Folder("CLAW", {
                              Folder("PALETTES",
                                     {FileNode("MAIN", "PAL", std::vector<unsigned char>(768, 7))}),
                              Folder("IMAGES", {FileNode("FRAME", "PID",
                                                         pidbuild::Picture(4, 3, indices, false))}),
                              Folder("SOUNDS", {FileNode("A", "WAV", "sound a"),
                                                FileNode("B", "WAV", "sound bb")}),
                              Folder("LOWER", {FileNode("c", "wav", "lower")}),
                          })}));
}

void WriteManyTypesArchive(const std::filesystem::path& path) {
  const char* types[] = {"WAV", "XMI", "TXT", "PAL", "PID", "PCX", "WWD",
                         "ANI", "DAT", "BIN", "CFG", "MID", "FNT", "LOG"};
  std::vector<rezbuild::Node> files;
  for (const char* type : types) files.push_back(FileNode(std::string("ONE_") + type, type, "x"));
  files.push_back(FileNode("TWO_LOG", "LOG", "yy"));
  rezbuild::Write(path, Folder("ROOT", {Folder("STUFF", files)}));
}

void WriteSoundsArchive(const std::filesystem::path& path, int count, int size) {
  std::vector<rezbuild::Node> files;
  for (int i = 0; i < count; ++i)
    files.push_back(FileNode(
        "S" + std::to_string(i), "WAV",
        std::vector<unsigned char>(static_cast<std::size_t>(size), static_cast<unsigned char>(i))));
  rezbuild::Write(path, Folder("ROOT", files));
}

}  // namespace apptest
