// Extraction speed and memory on an archive of realistic size: about 30,000
// entries and 200 MB, most of them PID pictures and WAV sounds, in the folder
// layout of the games' archives. Prints the time to open the archive, the raw
// extraction time against `tar -x` of the same files (measured in the same
// run), the PNG extraction time, and the peak memory of each extraction.
//
// Usage: extract_bench [ENTRIES]   (default 30000; the size scales with it)
// With TARNWICK_BENCH_KEEP=FOLDER the archive and the tar are kept there.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchiveStats.h"
#include "archive/cREZ.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "extract/ExtractWorker.h"
#include "extract/Formatting.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct ArchiveShape {
  std::int64_t entries = 0;
  std::int64_t bytes = 0;
  std::int64_t largest = 0;
  std::int64_t folders = 0;
};

class Generator {
 public:
  explicit Generator(int entries) : target(entries) {}

  rezbuild::Node Build(ArchiveShape& shape) {
    rezbuild::Node root = rezbuild::Folder("");
    // Shares of the games' archives: pictures in animation folders, sounds,
    // a few level files; one palette per top-level folder.
    const int levels = 14;
    const int perLevel = std::max(1, target / levels);
    for (int level = 1; level <= levels; ++level) {
      rezbuild::Node top = rezbuild::Folder("LEVEL" + std::to_string(level));
      rezbuild::Node palettes = rezbuild::Folder("PALETTES");
      palettes.children.push_back(File(shape, "MAIN", "PAL", std::vector<unsigned char>(768, 40)));
      top.children.push_back(std::move(palettes));
      int made = 1;
      rezbuild::Node images = rezbuild::Folder("IMAGES");
      rezbuild::Node sounds = rezbuild::Folder("SOUNDS");
      int animation = 0;
      while (made < perLevel) {
        const int kind = static_cast<int>(random() % 100);
        if (kind < 83) {
          rezbuild::Node anim = rezbuild::Folder("ANIM" + std::to_string(animation++));
          const int frames = 10 + static_cast<int>(random() % 50);
          for (int frame = 1; frame <= frames && made < perLevel; ++frame, ++made) {
            char name[16];
            std::snprintf(name, sizeof name, "FRAME%03d", frame);
            anim.children.push_back(File(shape, name, "PID", Picture()));
          }
          images.children.push_back(std::move(anim));
        } else if (kind < 97) {
          for (int i = 0; i < 20 && made < perLevel; ++i, ++made)
            sounds.children.push_back(File(shape, "SOUND" + std::to_string(made), "WAV", Sound()));
        } else {
          top.children.push_back(File(shape, "DATA" + std::to_string(made), "XMI",
                                      Noise(2000 + static_cast<int>(random() % 30000))));
          ++made;
        }
      }
      top.children.push_back(std::move(images));
      top.children.push_back(std::move(sounds));
      root.children.push_back(std::move(top));
    }
    CountFolders(root, shape);
    return root;
  }

 private:
  rezbuild::Node File(ArchiveShape& shape, const std::string& name, const std::string& type,
                      std::vector<unsigned char> data) {
    ++shape.entries;
    shape.bytes += static_cast<std::int64_t>(data.size());
    shape.largest = std::max<std::int64_t>(shape.largest, static_cast<std::int64_t>(data.size()));
    return rezbuild::FileNode(name, type, std::move(data));
  }

  static void CountFolders(const rezbuild::Node& folder, ArchiveShape& shape) {
    for (const auto& child : folder.children)
      if (child.isDir) {
        ++shape.folders;
        CountFolders(child, shape);
      }
  }

  // A sprite: transparent border, opaque body, skip coded as the games store them.
  std::vector<unsigned char> Picture() {
    const std::int32_t width = 24 + static_cast<std::int32_t>(random() % 100);
    const std::int32_t height = 24 + static_cast<std::int32_t>(random() % 100);
    std::vector<unsigned char> pid;
    rezbuild::PutU32(pid, 0);
    rezbuild::PutU32(pid, 0x21);  // transparent, skip coded
    rezbuild::PutU32(pid, static_cast<std::uint32_t>(width));
    rezbuild::PutU32(pid, static_cast<std::uint32_t>(height));
    rezbuild::PutU32(pid,
                     static_cast<std::uint32_t>(static_cast<std::int32_t>(random() % 21) - 10));
    rezbuild::PutU32(pid,
                     static_cast<std::uint32_t>(static_cast<std::int32_t>(random() % 21) - 10));
    rezbuild::PutU32(pid, 0);
    rezbuild::PutU32(pid, 0);
    for (std::int32_t y = 0; y < height; ++y) {
      const std::int32_t margin =
          std::min<std::int32_t>(width / 4, 1 + static_cast<std::int32_t>(random() % 12));
      std::int32_t x = 0;
      pid.push_back(static_cast<unsigned char>(0x80 + margin));
      x += margin;
      while (x < width - margin) {
        const std::int32_t run = std::min<std::int32_t>(
            width - margin - x, 1 + static_cast<std::int32_t>(random() % 64));
        pid.push_back(static_cast<unsigned char>(run));
        for (std::int32_t i = 0; i < run; ++i)
          pid.push_back(static_cast<unsigned char>(1 + random() % 254));
        x += run;
      }
      if (x < width) pid.push_back(static_cast<unsigned char>(0x80 + (width - x)));
    }
    return pid;
  }

  std::vector<unsigned char> Sound() {
    const std::size_t samples = 4000 + static_cast<std::size_t>(random() % 60000);
    std::vector<unsigned char> wav = {'R', 'I', 'F', 'F'};
    rezbuild::PutU32(wav, static_cast<std::uint32_t>(36 + samples));
    for (char c : std::string("WAVEfmt ")) wav.push_back(static_cast<unsigned char>(c));
    rezbuild::PutU32(wav, 16);
    rezbuild::PutU32(wav, 0x00010001);  // PCM, mono
    rezbuild::PutU32(wav, 22050);
    rezbuild::PutU32(wav, 22050);
    rezbuild::PutU32(wav, 0x00080001);  // block align 1, 8 bits
    for (char c : std::string("data")) wav.push_back(static_cast<unsigned char>(c));
    rezbuild::PutU32(wav, static_cast<std::uint32_t>(samples));
    for (std::size_t i = 0; i < samples; ++i)
      wav.push_back(static_cast<unsigned char>(128 + static_cast<int>(random() % 64) - 32));
    return wav;
  }

  std::vector<unsigned char> Noise(int size) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
  }

  std::uint32_t random() { return engine(); }

  int target;
  std::mt19937 engine{20240601};
};

class CountingQuestions : public UserQuestions {
 public:
  OverwriteAnswer AskOverwrite(const std::string&) override { return OverwriteAnswer::Yes; }
  ImageErrorAnswer AskImageError(const std::string& text) override {
    std::fprintf(stderr, "image error: %s\n", text.c_str());
    return ImageErrorAnswer::Continue;
  }
  void ReportFailure(const std::string& message) override {
    std::fprintf(stderr, "failure: %s\n", message.c_str());
  }
};

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct ChildFigures {
  double openMs = 0;
  double extractMs = 0;
  std::int32_t written = 0;
  std::int32_t failed = 0;
  long maxRssKb = 0;
};

// Runs one extraction in a child process, so that its peak memory is its own.
ChildFigures ExtractInChild(const fs::path& archivePath, const fs::path& destination, bool png) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) std::abort();
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    ChildFigures figures;
    const auto opening = Clock::now();
    auto archive = std::make_shared<REZ::Parser>(archivePath);
    figures.openMs = Milliseconds(Clock::now() - opening);
    std::vector<TypeStat> stats;
    CollectTypeStats(stats, archive->Root());
    ExtractOptions options;
    for (const auto& stat : stats) {
      options.types.push_back(TypeChoice{stat.extension, true});
      options.fileCount += stat.count;
    }
    options.convertPid = png;
    options.overwriteAll = true;
    DetectGame(*archive);
    if (png) InitImageLibrary();
    SetDiagnosticsEnabled(false);
    auto job = MakeExtractJob(archivePath.string(), destination, archive, options,
                              std::make_shared<CountingQuestions>());
    const auto extracting = Clock::now();
    workerMain(job);
    figures.extractMs = Milliseconds(Clock::now() - extracting);
    figures.written = job->Result().written;
    figures.failed = job->Result().failed;
    if (write(pipeFds[1], &figures, sizeof figures) != sizeof figures) _exit(1);
    _exit(0);
  }
  close(pipeFds[1]);
  ChildFigures figures;
  if (read(pipeFds[0], &figures, sizeof figures) != sizeof figures) {
    std::fprintf(stderr, "extraction child failed\n");
    std::exit(1);
  }
  close(pipeFds[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  figures.maxRssKb = usage.ru_maxrss;
  return figures;
}

void BuildArchiveInChild(const fs::path& path, int entries, ArchiveShape& shape) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) std::abort();
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    ArchiveShape made;
    Generator generator(entries);
    rezbuild::Write(path, generator.Build(made));
    if (write(pipeFds[1], &made, sizeof made) != sizeof made) _exit(1);
    _exit(0);
  }
  close(pipeFds[1]);
  if (read(pipeFds[0], &shape, sizeof shape) != sizeof shape) {
    std::fprintf(stderr, "archive generation failed\n");
    std::exit(1);
  }
  close(pipeFds[0]);
  waitpid(child, nullptr, 0);
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

double TimedShell(const std::string& command) {
  const auto start = Clock::now();
  Shell(command);
  return Milliseconds(Clock::now() - start);
}

void Sync() {
  ::sync();
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::max(100, std::atoi(argv[1])) : 30000;
  TempDir work;
  const fs::path archivePath = work / "bench.rez";
  ArchiveShape shape;
  BuildArchiveInChild(archivePath, entries, shape);
  std::printf(
      "archive: %lld entries in %lld folders, %s of entry data (%s file), largest entry %s\n",
      static_cast<long long>(shape.entries), static_cast<long long>(shape.folders),
      SizeText(shape.bytes).c_str(),
      SizeText(static_cast<std::int64_t>(fs::file_size(archivePath))).c_str(),
      SizeText(shape.largest).c_str());

  // The same files as a tar archive, made from a first raw extraction.
  const fs::path reference = work / "reference";
  fs::create_directory(reference);
  ExtractInChild(archivePath, reference, false);
  Shell("tar -cf '" + (work / "bench.tar").string() + "' -C '" + reference.string() + "' .");
  if (const char* keep = std::getenv("TARNWICK_BENCH_KEEP")) {
    // For looking closer (strace, perf) at the same inputs.
    fs::create_directories(keep);
    fs::copy_file(archivePath, fs::path(keep) / "bench.rez", fs::copy_options::overwrite_existing);
    fs::copy_file(work / "bench.tar", fs::path(keep) / "bench.tar",
                  fs::copy_options::overwrite_existing);
  }

  // Alternate the two so that both meet the same cache and disk state.
  const int kRounds = std::getenv("TARNWICK_BENCH_ROUNDS")
                          ? std::max(1, std::atoi(std::getenv("TARNWICK_BENCH_ROUNDS")))
                          : 4;
  double bestOurs = 1e30, bestTar = 1e30, bestOpen = 1e30;
  long rawRss = 0;
  for (int round = 0; round < kRounds; ++round) {
    const fs::path ours = work / "ours";
    const fs::path theirs = work / "theirs";
    fs::remove_all(ours);
    fs::remove_all(theirs);
    fs::create_directory(ours);
    fs::create_directory(theirs);
    // Alternate which goes first, so that neither always meets the other's
    // leftover work (freed blocks, journal) or a cold cache.
    ChildFigures raw;
    double tarMs = 0;
    const auto runOurs = [&] {
      Sync();
      raw = ExtractInChild(archivePath, ours, false);
    };
    const auto runTar = [&] {
      Sync();
      tarMs = TimedShell("tar -xf '" + (work / "bench.tar").string() + "' -C '" + theirs.string() +
                         "'");
    };
    if (round % 2 == 0) {
      runOurs();
      runTar();
    } else {
      runTar();
      runOurs();
    }
    if (raw.failed != 0 || raw.written != shape.entries) {
      std::fprintf(stderr, "raw extraction wrote %d, failed %d\n", raw.written, raw.failed);
      return 1;
    }
    bestOurs = std::min(bestOurs, raw.extractMs);
    bestOpen = std::min(bestOpen, raw.openMs);
    bestTar = std::min(bestTar, tarMs);
    rawRss = std::max(rawRss, raw.maxRssKb);
  }
  Shell("diff -r '" + (work / "ours").string() + "' '" + (work / "theirs").string() + "'");

  const fs::path pngFolder = work / "png";
  fs::create_directory(pngFolder);
  Sync();
  const ChildFigures png = ExtractInChild(archivePath, pngFolder, true);

  const double budgetMb = 64.0 + double(shape.largest) / (1024.0 * 1024.0);
  std::printf("open: %.1f ms\n", bestOpen);
  std::printf(
      "raw extraction: %.0f ms, tar -x: %.0f ms (best of %d each), ratio %.2f (target <= 1.30)\n",
      bestOurs, bestTar, kRounds, bestOurs / bestTar);
  std::printf("png extraction: %.0f ms (%d written, %d failed)\n", png.extractMs, png.written,
              png.failed);
  std::printf("peak memory: raw %.1f MB, png %.1f MB (target < %.1f MB = 64 MB + largest entry)\n",
              double(rawRss) / 1024.0, double(png.maxRssKb) / 1024.0, budgetMb);
  return 0;
}
