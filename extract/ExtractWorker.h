// The extraction worker: walks the archive tree depth-first and recreates the
// folders that hold selected files under the destination, writing each
// selected file (or its PNG conversion) through the one checked writer.
//
// The destination is opened once; every folder below it is made and opened
// relative to its parent's descriptor and never through a path string, so a
// symbolic link below the destination, planted before or during the run, is
// refused and reported instead of followed. The process's working directory
// is never changed.
#pragma once

#include <memory>
#include <string>

#include "archive/cREZ.h"
#include "extract/ExtractJob.h"

// The worker thread's entry: runs the whole job, then sets done. Never throws.
void workerMain(std::shared_ptr<ExtractJob> job);
