// Everything one extraction shares between the interface and the worker.
//
// The job is held by std::shared_ptr: the screen that started it and the
// worker thread each keep a reference, so it lives as long as either needs it.
// Threads share only the tracker (under its lock) and the atomic flags; the
// rest belongs to the worker while it runs and may be read once done is set.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "archive/ArchiveStats.h"
#include "archive/cREZ.h"
#include "convert/ImageConversion.h"
#include "extract/ExtractOptions.h"
#include "extract/ProgressTracker.h"
#include "extract/UserQuestions.h"

enum class ExtractStatus {
  Running,
  // Every selected file was written or deliberately kept.
  Succeeded,
  // The walk finished, but some entries or folders could not be written (each was reported).
  SucceededWithErrors,
  // Nothing was written: the destination is missing or cannot be written.
  DestinationUnusable,
  // Stopped by Cancel() before the walk was over.
  Cancelled,
  // Broke off on an unexpected error (fatalMessage says which).
  Aborted,
};

struct ExtractResult {
  ExtractStatus status = ExtractStatus::Running;
  // Why the job could not run at all (DestinationUnusable) or broke off.
  std::string fatalMessage;
  // Every processed file lands in exactly one of these.
  std::int32_t written = 0;
  std::int32_t kept = 0;  // existing file kept by a "No" answer
  std::int32_t failed = 0;
  // Problems reported to the user, including refused folders that held no
  // selected file; any of them makes the job end with errors.
  std::int32_t problems = 0;
  std::int32_t Processed() const { return written + kept + failed; }
};

class ExtractJob {
 public:
  ExtractJob(std::string sourcePath, std::filesystem::path destinationPath,
             std::shared_ptr<REZ::Parser> archive, ExtractOptions options,
             std::shared_ptr<UserQuestions> questions, ConversionContext context);
  ExtractJob(const ExtractJob&) = delete;
  ExtractJob& operator=(const ExtractJob&) = delete;

  // Interface side.
  bool IsDone() const { return done.load(std::memory_order_acquire); }
  // Makes the worker stop before its next file; it then sets done.
  void Cancel() { cancelled.store(true); }
  // Valid once IsDone() is true.
  const ExtractResult& Result() const { return result; }

  const std::string sourcePath;  // kept for the screens; the worker does not use it
  const std::filesystem::path destinationPath;
  const std::shared_ptr<REZ::Parser> archive;
  const std::shared_ptr<UserQuestions> questions;
  ProgressTracker progress;
  // Set by the interface (Pause) and by the worker when the user answers an
  // image library error with Cancel; the worker waits before each file while it is set.
  std::atomic<bool> paused{false};
  std::atomic<bool> cancelled{false};
  // The job's own copy; the worker alone touches it once the job runs.
  ExtractOptions options;
  // The game and palette the pictures are converted with; the worker switches
  // the palette as it walks. Its own, so that no other job's walk can change it.
  ConversionContext context;
  // For tests only: called on the worker thread before each file is begun,
  // with the file's archive name.
  std::function<void(const std::string&)> beforeEachFile;

  // Worker side.
  std::atomic<bool> done{false};
  ExtractResult result;
  // The walk met the cancel request and stopped short.
  bool stoppedEarly = false;
  // Number of files of selected types in each folder's subtree, filled once
  // at the start of the walk so that no subtree is scanned more than once.
  std::unordered_map<const REZ::Dir*, std::int64_t> selectedInSubtree;
};

std::shared_ptr<ExtractJob> MakeExtractJob(
    std::string sourcePath, std::filesystem::path destinationPath,
    std::shared_ptr<REZ::Parser> archive, ExtractOptions options,
    std::shared_ptr<UserQuestions> questions,
    ConversionContext context = {DetectedGame, currentPalette});
