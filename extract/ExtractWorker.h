// The extraction worker: walks the archive tree depth-first and recreates the
// folders that hold selected files under the destination, writing each
// selected file (or its PNG conversion) by full path. The process's working
// directory is never changed.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "archive/cREZ.h"
#include "extract/ExtractJob.h"

enum class FolderLevel { Root, TopLevel, Deeper };

// The worker thread's entry: runs the whole job, then sets done. Never throws.
void workerMain(std::shared_ptr<ExtractJob> job);

// Starts workerMain on a detached thread; the job is kept alive by the thread
// until it ends, whoever else lets go of it.
void StartExtraction(const std::shared_ptr<ExtractJob>& job);

// Extracts folder and everything below it. parentDisplayPath is null for the
// root; parentFolder is where the folder's directory goes (for the root: the
// destination itself, which receives the root's files).
void ExtractFolder(ExtractJob& job, const REZ::Dir& folder, const std::string* parentDisplayPath,
                   FolderLevel level, const std::filesystem::path& parentFolder);

// True when folder or any folder below it holds a file of a selected type.
bool HasSelectedFiles(ExtractJob& job, const REZ::Dir& folder);

// The text of the overwrite question for an entry in the folder shown as displayPath.
std::string OverwriteQuestionText(const std::string& name, const std::string& displayPath);
