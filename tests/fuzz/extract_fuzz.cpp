// Extracts each input as an archive into a sandbox folder and checks what the
// worker promises whatever the archive holds: the job ends, every selected
// file is counted once, nothing lands outside the destination, no symbolic
// link and no temporary file is left in it, and every file in it is complete:
// a PNG decodes, any other file holds the bytes of an entry of its name.
//
// Header bytes 2 and 3 (free text in a real archive) carry the fuzzer's
// choices: PNG conversion, rect canvases, empty folders, the overwrite
// answers, and whether the previous run's files stay in place.
//
// With TARNWICK_WRITE_SEEDS naming a folder, writes a seed corpus there and exits.
#include <IL/il.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "archive/ArchiveStats.h"
#include "archive/cREZ.h"
#include "convert/Diagnostics.h"
#include "convert/ImageConversion.h"
#include "extract/EntryNames.h"
#include "extract/ExtractWorker.h"
#include "extract/FileWriter.h"
#include "support/PidBuilder.h"

namespace {

namespace fs = std::filesystem;
using namespace rezbuild;
using fuzz::Check;

std::vector<std::vector<unsigned char>> Seeds() {
  const auto picture = [](std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y) {
    return pidbuild::Picture(w, h, std::vector<std::uint8_t>(std::size_t(w * h), 3), true, x, y);
  };
  const std::vector<Node> roots = {
      Folder("", {FileNode("A", "TXT", "hello")}),
      Folder("",
             {Folder("CLAW", {Folder("PALETTES",
                                     {FileNode("MAIN", "PAL", std::vector<unsigned char>(768, 9))}),
                              Folder("IMAGES", {FileNode("F1", "PID", picture(4, 3, -2, 1)),
                                                FileNode("F2", "PID", picture(2, 5, 3, -1))})}),
              FileNode("S", "WAV", "riff")}),
      Folder("", {Folder("..", {FileNode("UP", "WAV", "x")}), Folder("a/b", {}),
                  FileNode("../X", "WAV", "x"), FileNode("DUP", "TXT", "1"),
                  FileNode("DUP", "TXT", "2"), Folder("DUP.TXT", {FileNode("IN", "TXT", "in")})}),
      Folder("", {Folder("E", {Folder("F", {})}), FileNode("NOTYPE", "", "n")}),
  };
  std::vector<std::vector<unsigned char>> seeds;
  for (const Node& root : roots)
    for (unsigned char choices : {0x00, 0x07, 0x1D}) {
      seeds.push_back(Build(root));
      seeds.back()[2] = choices;
      seeds.back()[3] = static_cast<unsigned char>(choices * 7);
    }
  return seeds;
}

class CyclingQuestions : public UserQuestions {
 public:
  explicit CyclingQuestions(unsigned pattern) : pattern(pattern) {}
  OverwriteAnswer AskOverwrite(const std::string&) override {
    using A = OverwriteAnswer;
    return std::array{A::Yes, A::No, A::OverwriteAll,
                      A::OverwriteAll}[(pattern >> (2 * (asked++ % 4))) & 3];
  }
  ImageErrorAnswer AskImageError(const std::string&) override { return ImageErrorAnswer::Continue; }
  void ReportFailure(const std::string&) override {}

 private:
  unsigned pattern;
  unsigned asked = 0;
};

// PNG work is kept to small pictures: large ones are valid but would starve the search.
bool SmallPicturesOnly(const REZ::Dir& folder) {
  for (const auto& child : folder.children) {
    if (child->IsDir()) {
      if (!SmallPicturesOnly(static_cast<const REZ::Dir&>(*child))) return false;
    } else if (REZ::FileExtension(child->name) == std::optional<std::string>("PID")) {
      const auto header = static_cast<const REZ::File&>(*child).GetData(32);
      for (std::size_t at = 8; at < 24; at += 4)  // width, height, offsets within -64..64
        if (std::int32_t(fuzz::Word(header.data(), at)) + 64u > 128u) return false;
    }
  }
  return true;
}

// What each file below the destination may hold, by its path there: the bytes
// of an entry of that name, or (for a converted picture) a PNG.
struct Expected {
  std::vector<std::vector<unsigned char>> raw;
  bool png = false;
};

void CollectExpected(const REZ::Dir& folder, const fs::path& at, bool convertPid,
                     std::map<fs::path, Expected>& expected) {
  for (const auto& child : folder.children) {
    const auto diskName = DiskNameOf(child->name);
    if (!diskName) continue;
    if (child->IsDir()) {
      CollectExpected(static_cast<const REZ::Dir&>(*child), at / *diskName, convertPid, expected);
      continue;
    }
    const auto& file = static_cast<const REZ::File&>(*child);
    if (convertPid && REZ::FileExtension(file.name) == std::optional<std::string>("PID")) {
      if (const auto png = DiskNameOf(PngNameOf(file.name))) expected[at / *png].png = true;
    } else {
      expected[at / *diskName].raw.push_back(file.GetData());
    }
  }
}

bool DecodesAsPng(const std::vector<unsigned char>& bytes) {
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  const bool loaded = ilLoadL(IL_PNG, bytes.data(), ILuint(bytes.size())) == IL_TRUE;
  ilDeleteImage(image);
  while (ilGetError() != IL_NO_ERROR) {
  }
  return loaded;
}

void CheckTree(const fs::path& root, const std::map<fs::path, Expected>& expected) {
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    Check(!entry.is_symlink() && !IsTemporaryName(entry.path().filename().string()));
    if (entry.is_directory()) continue;
    const auto found = expected.find(entry.path().lexically_relative(root));
    Check(found != expected.end());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    bool complete = found->second.png && DecodesAsPng(bytes);
    for (const auto& raw : found->second.raw) complete = complete || bytes == raw;
    Check(complete);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::WriteSeedsIfAsked(Seeds, ".rez");
  SetDiagnosticsEnabled(false);
  InitImageLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::Scratch sandbox("extract-fuzz");
  const fs::path archivePath = sandbox.path / "archive.rez";
  const fs::path destination = sandbox.path / "out";
  const unsigned choices = size > 3 ? data[2] | unsigned(data[3]) << 8 : 0;
  if (!(choices & 0x10)) fs::remove_all(destination);
  fs::create_directories(destination);
  WriteBytes(archivePath, std::vector<unsigned char>(data, data + size));

  std::shared_ptr<REZ::Parser> archive;
  try {
    archive = std::make_shared<REZ::Parser>(archivePath);
  } catch (const REZ::Exception&) {
    return 0;
  }
  std::vector<TypeStat> stats;
  CollectTypeStats(stats, archive->Root());
  ExtractOptions options;
  for (std::size_t i = 0; i < stats.size(); ++i) {
    // Every third type left out, by the fuzzer's choice.
    const bool selected = !(choices & 0x20) || i % 3 != 0;
    options.types.push_back(TypeChoice{stats[i].extension, selected});
    if (selected) options.fileCount += stats[i].count;
  }
  options.convertPid = (choices & 1) && SmallPicturesOnly(archive->Root());
  options.rectConversion = choices & 2;
  options.extractEmptyFolders = choices & 4;
  options.overwriteAll = choices & 8;
  DetectGame(*archive);

  auto job = MakeExtractJob(archivePath.string(), destination, archive, options,
                            std::make_shared<CyclingQuestions>(choices >> 8));
  workerMain(job);
  Check(job->IsDone());
  const ExtractResult& result = job->Result();
  Check(result.status == ExtractStatus::Succeeded ||
        result.status == ExtractStatus::SucceededWithErrors);
  Check(result.Processed() == options.fileCount);
  job->progress.Lock();
  Check(job->progress.GetCurrent() == options.fileCount);
  job->progress.Unlock();

  // Nothing beside the archive and the destination, nothing odd inside it.
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(sandbox.path)) {
    ++entries;
    Check(entry.path() == archivePath || entry.path() == destination);
  }
  Check(entries == 2);
  // Files of an earlier run came from another archive.
  if (!(choices & 0x10)) {
    std::map<fs::path, Expected> expected;
    CollectExpected(archive->Root(), {}, options.convertPid, expected);
    CheckTree(destination, expected);
  }
  return 0;
}
