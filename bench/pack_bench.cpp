// A pack/extract round trip of a folder tree of about 30,000 files (200 MB,
// in the folder layout of the games' archives) against tar on the same tree,
// measured in the same run: pack against `tar -c`, extraction against
// `tar -x`, and the whole round trip against both. The round trip's result is
// compared with the tree, so a fast but wrong run cannot pass unnoticed.
//
// Usage: pack_bench [ENTRIES]   (default 30000; the size scales with it)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchiveStats.h"
#include "archive/PackTree.h"
#include "archive/RezWriter.h"
#include "archive/cREZ.h"
#include "extract/ExtractWorker.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct TreeShape {
  std::int64_t files = 0;
  std::int64_t bytes = 0;
};

// Fourteen levels, each with animation folders of 10 to 60 frames of 1 to
// 13 KB and a folder of sounds.
TreeShape MakeTree(const fs::path& root, int entries) {
  std::mt19937 random(20261206);
  TreeShape shape;
  std::vector<char> buffer(13 * 1024);
  for (auto& byte : buffer) byte = static_cast<char>(random());
  const int levels = 14;
  for (int level = 1; level <= levels && shape.files < entries; ++level) {
    const fs::path top = root / ("LEVEL" + std::to_string(level));
    const std::int64_t until = std::int64_t(entries) * level / levels;
    for (int anim = 0; shape.files < until; ++anim) {
      const bool sounds = anim % 7 == 6;
      const fs::path folder =
          top / (sounds ? "SOUNDS" + std::to_string(anim) : "IMAGES/ANIM" + std::to_string(anim));
      fs::create_directories(folder);
      const int count = 10 + static_cast<int>(random() % 50);
      for (int i = 1; i <= count && shape.files < until; ++i) {
        char name[24];
        std::snprintf(name, sizeof name, sounds ? "SOUND%03d.WAV" : "FRAME%03d.PID", i);
        const std::size_t size = 1024 + random() % (12 * 1024);
        std::ofstream(folder / name, std::ios::binary).write(buffer.data(), std::streamsize(size));
        ++shape.files;
        shape.bytes += std::int64_t(size);
      }
    }
  }
  return shape;
}

class QuietQuestions : public UserQuestions {
 public:
  OverwriteAnswer AskOverwrite(const std::string&) override { return OverwriteAnswer::Yes; }
  ImageErrorAnswer AskImageError(const std::string&) override { return ImageErrorAnswer::Continue; }
  void ReportFailure(const std::string& message) override {
    std::fprintf(stderr, "failure: %s\n", message.c_str());
  }
};

template <typename Step>
double Seconds(Step step) {
  const auto start = Clock::now();
  step();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

TreeShape Measure(const fs::path& root) {
  TreeShape shape;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) ++shape.files, shape.bytes += std::int64_t(entry.file_size());
  return shape;
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30000;
  TempDir work;
  const fs::path tree = work / "tree";
  const TreeShape shape = MakeTree(tree, entries);
  std::printf("tree: %lld files, %.1f MB\n", static_cast<long long>(shape.files),
              static_cast<double>(shape.bytes) / 1e6);
  // Both sides read a tree that is in the page cache.
  Run("tar -cf /dev/null -C '" + tree.string() + "' .");

  const fs::path archive = work / "tree.rez";
  const double pack = Seconds([&] {
    const REZ::PackTree packed = REZ::ReadPackTree(tree);
    if (!packed.refusals.empty() || REZ::WriteRez(packed.root, archive, {false, packed.newest})) {
      std::fprintf(stderr, "pack failed\n");
      std::exit(1);
    }
  });
  const double tarCreate = Seconds(
      [&] { Run("tar -cf '" + (work / "tree.tar").string() + "' -C '" + tree.string() + "' ."); });

  fs::create_directories(work / "out");
  std::int32_t written = 0;
  const double extract = Seconds([&] {
    auto parser = std::make_shared<REZ::Parser>(archive);
    std::vector<TypeStat> stats;
    CollectTypeStats(stats, parser->Root());
    const ExtractOptions options =
        MakeExtractOptions(stats, std::vector<bool>(stats.size(), true), false, false, false);
    auto job = MakeExtractJob(archive.string(), work / "out", parser, options,
                              std::make_shared<QuietQuestions>());
    workerMain(job);
    written = job->Result().written;
  });
  fs::create_directories(work / "untar");
  const double tarExtract = Seconds([&] {
    Run("tar -xf '" + (work / "tree.tar").string() + "' -C '" + (work / "untar").string() + "'");
  });

  const TreeShape back = Measure(work / "out");
  if (written != shape.files || back.files != shape.files || back.bytes != shape.bytes) {
    std::fprintf(stderr, "round trip lost files: %d written, %lld files of %lld bytes back\n",
                 written, static_cast<long long>(back.files), static_cast<long long>(back.bytes));
    return 1;
  }
  Run("diff -r '" + tree.string() + "' '" + (work / "out").string() + "'");
  std::printf("pack     %7.3f s   tar -c %7.3f s   ratio %.2f\n", pack, tarCreate,
              pack / tarCreate);
  std::printf("extract  %7.3f s   tar -x %7.3f s   ratio %.2f\n", extract, tarExtract,
              extract / tarExtract);
  std::printf("round trip %5.3f s   tar    %7.3f s   ratio %.2f\n", pack + extract,
              tarCreate + tarExtract, (pack + extract) / (tarCreate + tarExtract));
  std::printf("archive %.1f MB, tar %.1f MB\n", static_cast<double>(fs::file_size(archive)) / 1e6,
              static_cast<double>(fs::file_size(work / "tree.tar")) / 1e6);
  return 0;
}
