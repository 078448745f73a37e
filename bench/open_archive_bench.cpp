// How long opening an archive of 100,000 entries takes, against reading the
// same file's bytes sequentially in the same run.
//
// Usage: open_archive_bench [RUNS]
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "archive/cREZ.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

namespace {

using namespace rezbuild;
using Clock = std::chrono::steady_clock;

constexpr int kTargetEntries = 100000;

std::string Numbered(const char* stem, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%03d", stem, number);
  return name;
}

// Folders shaped like a game's resource archive: levels with tiles, animated
// objects and sounds, then shared images until the entry count is reached.
class ArchiveShape {
 public:
  Node Build() {
    Node root = Folder("ROOT");
    for (int level = 1; level <= 14; ++level) {
      Node tiles = Folder("ACTION");
      for (int i = 0; i < 250; ++i) tiles.children.push_back(File(Numbered("TILE", i), "PID", 96));
      Node images = Folder("IMAGES");
      for (int object = 0; object < 100; ++object) {
        Node frames = Folder(Numbered("OBJECT", object));
        for (int i = 0; i < 45; ++i)
          frames.children.push_back(File(Numbered("FRAME", i), "PID", 64));
        images.children.push_back(Dir(std::move(frames)));
      }
      Node sounds = Folder("SOUNDS");
      for (int i = 0; i < 60; ++i)
        sounds.children.push_back(File(Numbered("SOUND", i), "WAV", 128));
      Node levelFolder = Folder("LEVEL" + std::to_string(level));
      levelFolder.children.push_back(Dir(Folder("TILES", {Dir(std::move(tiles))})));
      levelFolder.children.push_back(Dir(std::move(images)));
      levelFolder.children.push_back(Dir(std::move(sounds)));
      root.children.push_back(Dir(std::move(levelFolder)));
    }
    Node shared = Folder("IMAGES");
    ++entries;  // GAME
    ++entries;  // GAME/IMAGES
    for (int object = 0; entries < kTargetEntries; ++object) {
      Node frames = Folder(Numbered("SHARED", object));
      ++entries;
      for (int i = 0; i < 50 && entries < kTargetEntries; ++i)
        frames.children.push_back(File(Numbered("FRAME", i), "PID", 48));
      shared.children.push_back(std::move(frames));
    }
    root.children.push_back(Folder("GAME", {std::move(shared)}));
    return root;
  }

  int entries = 0;

 private:
  Node File(std::string name, const char* type, std::size_t size) {
    ++entries;
    return FileNode(std::move(name), type, std::vector<unsigned char>(size, 0x5A));
  }
  Node Dir(Node folder) {
    ++entries;
    return folder;
  }
};

int CountEntries(const REZ::Dir& folder) {
  int count = 0;
  for (const auto& child : folder.children) {
    ++count;
    if (child->IsDir()) count += CountEntries(static_cast<const REZ::Dir&>(*child));
  }
  return count;
}

// Wall-clock and processor time of one call, in milliseconds. The processor
// time shows the cost on a machine shared with other work.
struct Timing {
  double wall = 0;
  double cpu = 0;
};

double CpuNow() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

template <typename Work>
Timing Measure(Work work) {
  const double cpuStart = CpuNow();
  const auto start = Clock::now();
  work();
  return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
          CpuNow() - cpuStart};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  TempDir dir;
  const auto path = dir / "bench.rez";
  ArchiveShape shape;
  Write(path, shape.Build());
  const auto fileSize = std::filesystem::file_size(path);

  // Opening and the reference alternate, so that both meet the same load.
  std::vector<double> openWall, openCpu, readWall, readCpu;
  std::vector<char> buffer(fileSize);
  int loadedEntries = 0;
  for (int i = 0; i < runs; ++i) {
    std::unique_ptr<REZ::Parser> parser;
    const Timing open = Measure([&] { parser = std::make_unique<REZ::Parser>(path); });
    loadedEntries = CountEntries(parser->Root());
    parser.reset();  // released outside the timed part
    const Timing read = Measure([&] {
      std::ifstream in(path, std::ios::binary);
      in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    });
    openWall.push_back(open.wall);
    openCpu.push_back(open.cpu);
    readWall.push_back(read.wall);
    readCpu.push_back(read.cpu);
  }
  if (loadedEntries != shape.entries) {
    std::fprintf(stderr, "loaded %d entries, built %d\n", loadedEntries, shape.entries);
    return 1;
  }

  std::printf("entries:                 %d\n", loadedEntries);
  std::printf("archive size:            %llu bytes\n", static_cast<unsigned long long>(fileSize));
  std::printf("medians of %d runs         wall ms    cpu ms\n", runs);
  std::printf("open archive:            %8.2f  %8.2f\n", Median(openWall), Median(openCpu));
  std::printf("sequential read of file: %8.2f  %8.2f\n", Median(readWall), Median(readCpu));
  std::printf("open / read:             %8.2f  %8.2f\n", Median(openWall) / Median(readWall),
              Median(openCpu) / Median(readCpu));
  return 0;
}
