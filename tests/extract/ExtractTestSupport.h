// Shared pieces of the extraction tests: scripted answers, running a job on
// an archive built in code, and reading back what landed on disk.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "archive/ArchiveStats.h"
#include "archive/cREZ.h"
#include "extract/ExtractJob.h"
#include "extract/ExtractWorker.h"
#include "extract/UserQuestions.h"
#include "support/PidBuilder.h"
#include "support/RezBuilder.h"
#include "support/TempDir.h"
#include "tests/convert/ConvertTestSupport.h"

namespace extracttest {

class ScriptedQuestions : public UserQuestions {
 public:
  OverwriteAnswer AskOverwrite(const std::string& text) override {
    std::lock_guard<std::mutex> guard(mutex);
    overwriteQuestions.push_back(text);
    if (onOverwrite) onOverwrite();
    if (overwriteAnswers.empty()) return OverwriteAnswer::No;
    const OverwriteAnswer answer = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return answer;
  }
  ImageErrorAnswer AskImageError(const std::string& text) override {
    std::lock_guard<std::mutex> guard(mutex);
    imageErrors.push_back(text);
    return ImageErrorAnswer::Continue;
  }
  void ReportFailure(const std::string& message) override {
    std::lock_guard<std::mutex> guard(mutex);
    failures.push_back(message);
  }

  std::deque<OverwriteAnswer> overwriteAnswers;
  std::function<void()> onOverwrite;
  std::vector<std::string> overwriteQuestions;
  std::vector<std::string> imageErrors;
  std::vector<std::string> failures;
  std::mutex mutex;
};

inline std::shared_ptr<REZ::Parser> OpenBuilt(const std::filesystem::path& path,
                                              const rezbuild::Node& root) {
  rezbuild::Write(path, root);
  return std::make_shared<REZ::Parser>(path);
}

// Every type of the archive, selected when its name is in selected (or always
// when selected is empty).
inline ExtractOptions OptionsFor(const REZ::Parser& archive,
                                 const std::vector<std::string>& selected = {}) {
  std::vector<TypeStat> stats;
  CollectTypeStats(stats, archive.Root());
  std::vector<bool> on;
  for (const auto& stat : stats)
    on.push_back(selected.empty() ||
                 std::find(selected.begin(), selected.end(), stat.extension) != selected.end());
  return MakeExtractOptions(stats, on, false, false, false);
}

// Runs the whole job on the calling thread.
inline std::shared_ptr<ExtractJob> RunJob(std::shared_ptr<REZ::Parser> archive,
                                          const ExtractOptions& options,
                                          const std::filesystem::path& destination,
                                          std::shared_ptr<ScriptedQuestions> questions) {
  DetectGame(*archive);
  auto job =
      MakeExtractJob("archive.rez", destination, std::move(archive), options, std::move(questions));
  workerMain(job);
  return job;
}

inline std::int32_t CurrentOf(ExtractJob& job) {
  job.progress.Lock();
  const std::int32_t current = job.progress.GetCurrent();
  job.progress.Unlock();
  return current;
}

inline std::int32_t TotalOf(ExtractJob& job) {
  job.progress.Lock();
  const std::int32_t total = job.progress.GetTotal();
  job.progress.Unlock();
  return total;
}

// Everything below root: "dir/" for folders, "file" -> contents for files.
inline std::map<std::string, std::string> TreeOf(const std::filesystem::path& root) {
  std::map<std::string, std::string> tree;
  for (auto it = std::filesystem::recursive_directory_iterator(root);
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    const std::string relative = it->path().lexically_relative(root).generic_string();
    if (it->is_symlink()) {
      tree[relative] = "->";
      it.disable_recursion_pending();
    } else if (it->is_directory()) {
      tree[relative + "/"] = "";
    } else {
      std::ifstream in(it->path(), std::ios::binary);
      tree[relative] = std::string(std::istreambuf_iterator<char>(in), {});
    }
  }
  return tree;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A PID picture of width x height, repeat-coded, every pixel of index 1.
inline std::vector<unsigned char> MakePid(std::int32_t width, std::int32_t height,
                                          std::int32_t offsetX = 0, std::int32_t offsetY = 0) {
  const std::size_t pixels = std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0));
  return pidbuild::Picture(width, height, std::vector<std::uint8_t>(pixels, 1), false, offsetX,
                           offsetY);
}

// A written PNG; an empty picture when there is none.
inline RgbaPicture PngAt(const std::filesystem::path& path) {
  return std::filesystem::exists(path) ? ReadPng(path) : RgbaPicture{};
}

}  // namespace extracttest
