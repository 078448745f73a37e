#include "extract/ExtractWorker.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>
#include <thread>

#include "extract/ConvertedOutput.h"
#include "extract/DestinationFolders.h"
#include "extract/EntryNames.h"
#include "extract/FileWriter.h"
#include "extract/PngOutput.h"
#include "text/Windows1252.h"

namespace {

// An archive name as the user reads it.
std::string Quoted(const std::string& archiveName) {
  return "\"" + PrintableName(text::Utf8FromWindows1252(archiveName)) + "\"";
}

void AddToCurrent(ExtractJob& job, std::int64_t files) {
  job.progress.Lock();
  const std::int64_t next = std::int64_t{job.progress.GetCurrent()} + files;
  job.progress.SetCurrent(static_cast<std::int32_t>(
      std::min<std::int64_t>(next, std::numeric_limits<std::int32_t>::max())));
  job.progress.Unlock();
}

std::int64_t CountSelected(ExtractJob& job, const REZ::Dir& folder) {
  std::int64_t count = 0;
  for (const auto& child : folder.children) {
    if (child->IsDir()) {
      count += CountSelected(job, static_cast<const REZ::Dir&>(*child));
    } else if (const auto extension = REZ::FileExtension(child->name)) {
      if (IsTypeSelected(job.options, *extension)) ++count;
    }
  }
  job.selectedInSubtree[&folder] = count;
  return count;
}

std::int64_t SelectedInSubtree(ExtractJob& job, const REZ::Dir& folder) {
  const auto known = job.selectedInSubtree.find(&folder);
  if (known != job.selectedInSubtree.end()) return known->second;
  return CountSelected(job, folder);
}

// A folder that cannot be made is not entered; its selected files are counted
// as failed so that the counter still reaches the total.
void FailSubtree(ExtractJob& job, const REZ::Dir& folder) {
  const std::int64_t files = SelectedInSubtree(job, folder);
  if (files == 0) return;
  job.result.failed += static_cast<std::int32_t>(files);
  AddToCurrent(job, files);
}

bool StopRequested(ExtractJob& job) {
  if (!job.cancelled.load()) return false;
  job.stoppedEarly = true;
  return true;
}

// Waits while the job is paused. False when the job was cancelled.
bool PausePoint(ExtractJob& job) {
  while (job.paused.load() && !job.cancelled.load())
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return !StopRequested(job);
}

// An entry converted to files of its own, counted once. The converter names
// its files after diskName, the entry's name as every other output takes it.
void ConvertFile(ExtractJob& job, const REZ::File& file, const std::string& diskName,
                 OpenFolder& folder, Converter convert) {
  // A converter's size limit is applied before the entry is read.
  std::string error = SizeRefusal(convert, file.size);
  const auto write = [&](const std::string& name, std::vector<unsigned char>& bytes) {
    return WriteOneOutput(job, folder, name, [&](std::vector<unsigned char>& out) {
      out.swap(bytes);
      return true;
    });
  };
  const OutputOutcome outcome =
      error.empty() ? WriteConverted(diskName, file.GetData(), convert, write, error)
                    : OutputOutcome::Failed;
  if (!error.empty())
    ReportProblem(
        job, "cannot convert " + Quoted(file.name) + " in " + folder.displayPath + ": " + error);
  Count(job.result, outcome);
}

void ProcessFile(ExtractJob& job, const REZ::File& file, const std::string& extension,
                 OpenFolder& folder) {
  const bool toPng = extension == "PID" && job.options.convertPid;
  const auto diskName = DiskNameOf(toPng ? PngNameOf(file.name) : file.name);
  try {
    if (!diskName) {
      ReportProblem(job, folder.displayPath + ": refused the " + (toPng ? "picture" : "file") +
                             " name " + Quoted(file.name) + ": it is not a plain file name");
      ++job.result.failed;
    } else if (!StillInPlace(job, folder)) {
      ++job.result.failed;
    } else if (const Converter convert = ConverterFor(extension, job.options)) {
      ConvertFile(job, file, *diskName, folder, convert);
    } else if (toPng) {
      WriteOutput(job, folder, *diskName, [&](std::vector<unsigned char>& bytes) {
        const std::vector<unsigned char> pid = file.GetData();
        std::string failure;
        auto png = EncodeAsking(
            *job.questions, job.paused, file.name,
            [&] { return EncodePidAsPng(pid, job.context, folder.canvas); }, failure);
        if (!png) {
          ReportProblem(job, "cannot convert " + Quoted(file.name) + " in " + folder.displayPath +
                                 ": " + failure);
          return false;
        }
        bytes = std::move(*png);
        return true;
      });
    } else {
      WriteOutput(job, folder, *diskName, [&](std::vector<unsigned char>& bytes) {
        bytes = file.GetData();
        return true;
      });
    }
  } catch (const REZ::Exception& e) {
    ReportProblem(job, "cannot read " + Quoted(file.name) + " in " + folder.displayPath +
                           " from the archive: " + e.message +
                           (e.detail.empty() ? "" : " (" + e.detail + ")"));
    ++job.result.failed;
  } catch (const std::bad_alloc&) {
    ReportProblem(job, "cannot extract " + Quoted(file.name) + " in " + folder.displayPath +
                           ": out of memory");
    ++job.result.failed;
  }
  AddToCurrent(job, 1);
}

// Runs a step whose failure should not end the walk (it reads the archive).
template <typename Step>
void Tolerate(ExtractJob& job, const std::string& what, Step step) {
  try {
    step();
  } catch (const REZ::Exception& e) {
    ReportProblem(job, what + ": " + e.message + (e.detail.empty() ? "" : " (" + e.detail + ")"));
  } catch (const std::bad_alloc&) {
    ReportProblem(job, what + ": out of memory");
  }
}

// The root has no parent; a top-level folder's parent is the root.
void ExtractFolder(ExtractJob& job, const REZ::Dir& folder, OpenFolder* parent, OpenFolder& here) {
  if (StopRequested(job)) return;
  const bool hasSelected = SelectedInSubtree(job, folder) > 0;
  if (!hasSelected && !job.options.extractEmptyFolders) return;

  Descriptor own;
  if (parent) {
    here.displayPath = parent->displayPath + "\\" + text::Utf8FromWindows1252(folder.name);
    // The palette comes from the archive, not the disk: pictures of the
    // folders that follow are drawn with it even when this one cannot be made.
    if (!parent->parent)
      Tolerate(job, "cannot read the palette of " + here.displayPath,
               [&] { switchPaletteFrom(folder, job.context.palette); });
    const auto diskName = DiskNameOf(folder.name);
    if (!diskName) {
      ReportProblem(job, parent->displayPath + ": refused the folder name " + Quoted(folder.name) +
                             ": it is not a plain folder name; nothing below it is extracted");
      FailSubtree(job, folder);
      return;
    }
    here.shown = parent->shown / *diskName;
    here.name = *diskName;
    here.parent = parent;
    bool existed = false;
    if (StillInPlace(job, *parent))
      here.fd = MakeFolder(job, *parent, *diskName, here.shown, existed);
    if (here.fd < 0) {
      FailSubtree(job, folder);
      return;
    }
    own.Hold(here.fd);
    if (::fstat(here.fd, &here.identity) != 0) here.replaced = true;
    if (existed) RemoveStaleTemporaries(here.fd);
  }

  if (job.options.convertPid && job.options.rectConversion)
    Tolerate(job, "cannot measure the pictures of " + here.displayPath,
             [&] { here.canvas = computeCommonCanvas(folder); });
  if (here.canvas.tooLarge)
    ReportProblem(job, here.displayPath + ": the common canvas would be " +
                           std::to_string(here.canvas.wantedWidth) + " x " +
                           std::to_string(here.canvas.wantedHeight) + ", beyond " +
                           PictureCapText() + "; its pictures are written at their own sizes");

  for (const auto& child : folder.children) {
    if (StopRequested(job)) return;
    if (child->IsDir()) {
      OpenFolder below;
      ExtractFolder(job, static_cast<const REZ::Dir&>(*child), &here, below);
      continue;
    }
    if (!hasSelected) continue;
    const auto extension = REZ::FileExtension(child->name);
    if (!extension || !IsTypeSelected(job.options, *extension)) continue;
    if (job.beforeEachFile) job.beforeEachFile(child->name);
    if (!PausePoint(job)) return;
    ProcessFile(job, static_cast<const REZ::File&>(*child), *extension, here);
  }
}

}  // namespace

void workerMain(std::shared_ptr<ExtractJob> job) {
  job->progress.Lock();
  job->progress.SetTotal(job->options.fileCount);
  job->progress.SetCurrent(0);
  job->progress.Unlock();

  ExtractResult& result = job->result;
  try {
    OpenFolder root;
    root.displayPath = "\\";
    const Descriptor destination(root.fd = OpenDestination(*job, root.shown));
    if (root.fd >= 0) {
      RemoveStaleTemporaries(root.fd);
      job->selectedInSubtree.clear();
      job->stoppedEarly = false;
      if (job->options.fallbackPalette) job->context.palette = job->options.fallbackPalette;
      CountSelected(*job, job->archive->Root());
      ExtractFolder(*job, job->archive->Root(), nullptr, root);
      if (job->stoppedEarly)
        result.status = ExtractStatus::Cancelled;
      else
        result.status = result.failed > 0 || result.problems > 0
                            ? ExtractStatus::SucceededWithErrors
                            : ExtractStatus::Succeeded;
    } else {
      result.status = ExtractStatus::DestinationUnusable;
    }
  } catch (const std::exception& e) {
    result.fatalMessage = std::string("extraction broke off: ") + e.what();
    result.status = ExtractStatus::Aborted;
    try {
      ReportProblem(*job, result.fatalMessage);
    } catch (...) {
    }
  }
  job->done.store(true, std::memory_order_release);
}
