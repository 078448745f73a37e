// Shared pieces of the extraction tests: scripted answers, running a job on
// an archive built in code, and reading back what landed on disk.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
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

using Tree = std::map<std::string, std::string>;

// Overwrite answers in order (No once they run out); everything asked is kept.
struct ScriptedQuestions : UserQuestions {
  OverwriteAnswer AskOverwrite(const std::string& text) override {
    overwriteQuestions.push_back(text);
    if (overwriteAnswers.empty()) return OverwriteAnswer::No;
    const OverwriteAnswer answer = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return answer;
  }
  ImageErrorAnswer AskImageError(const std::string&) override { return ImageErrorAnswer::Continue; }
  void ReportFailure(const std::string& message) override { failures.push_back(message); }
  std::deque<OverwriteAnswer> overwriteAnswers;
  std::vector<std::string> overwriteQuestions, failures;
};

inline std::shared_ptr<REZ::Parser> OpenBuilt(const std::filesystem::path& path,
                                              const rezbuild::Node& root) {
  rezbuild::Write(path, root);
  return std::make_shared<REZ::Parser>(path);
}

// Every type of the archive, selected when named in selected (all when it is empty).
inline ExtractOptions OptionsFor(const REZ::Parser& archive,
                                 const std::vector<std::string>& selected = {}) {
  std::vector<TypeStat> stats;
  CollectTypeStats(stats, archive.Root());
  std::vector<bool> on;
  for (const auto& stat : stats)
    on.push_back(selected.empty() || std::count(selected.begin(), selected.end(), stat.extension));
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

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Everything below root: "dir/" for folders, "->" for links, "file" -> contents.
inline Tree TreeOf(const std::filesystem::path& root) {
  Tree tree;
  for (auto it = std::filesystem::recursive_directory_iterator(root);
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    const std::string relative = it->path().lexically_relative(root).generic_string();
    if (it->is_symlink()) {
      tree[relative] = "->";
      it.disable_recursion_pending();
    } else if (it->is_directory()) {
      tree[relative + "/"] = "";
    } else {
      tree[relative] = ReadFile(it->path());
    }
  }
  return tree;
}

// A PID picture of width x height, every pixel of index 1.
inline std::vector<unsigned char> MakePid(std::int32_t width, std::int32_t height,
                                          std::int32_t offsetX = 0, std::int32_t offsetY = 0) {
  return pidbuild::Picture(width, height, std::vector<std::uint8_t>(std::max(width * height, 0), 1),
                           false, offsetX, offsetY);
}

inline bool Contains(const std::vector<std::string>& messages, const std::string& part) {
  return std::any_of(messages.begin(), messages.end(),
                     [&](const std::string& m) { return m.find(part) != std::string::npos; });
}

// An archive at temp/a.rez extracted into temp/box/out; nothing may land outside the box.
class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(destination); }
  std::shared_ptr<REZ::Parser> Open(const rezbuild::Node& root) {
    return OpenBuilt(temp / "a.rez", root);
  }
  std::shared_ptr<ExtractJob> Run(std::shared_ptr<REZ::Parser> archive,
                                  const ExtractOptions& options) {
    return RunJob(std::move(archive), options, destination, questions);
  }
  // The progress counter as (current, total).
  static std::pair<std::int32_t, std::int32_t> CountsOf(ExtractJob& job) {
    job.progress.Lock();
    const auto counts = std::make_pair(job.progress.GetCurrent(), job.progress.GetTotal());
    job.progress.Unlock();
    return counts;
  }

  TempDir temp;
  std::filesystem::path destination = temp / "box" / "out";
  std::shared_ptr<ScriptedQuestions> questions = std::make_shared<ScriptedQuestions>();
};

}  // namespace extracttest
