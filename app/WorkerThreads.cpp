#include "app/WorkerThreads.h"

#include <algorithm>

#include "extract/ExtractJob.h"
#include "extract/ExtractWorker.h"

WorkerThreads::~WorkerThreads() {
  CancelAll();
  WaitAll(std::chrono::seconds(10));
  // A worker still blocked in a question cannot be joined; it holds its own
  // reference to the job, so letting it go is safe until the process ends.
  for (auto& worker : workers)
    if (worker.thread.joinable()) worker.thread.detach();
}

void WorkerThreads::Start(std::shared_ptr<ExtractJob> job) {
  ReapFinished();
  std::thread thread([job] { workerMain(job); });
  workers.push_back({std::move(job), std::move(thread)});
}

void WorkerThreads::CancelAll() {
  for (auto& worker : workers) worker.job->Cancel();
}

bool WorkerThreads::WaitAll(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    ReapFinished();
    if (workers.empty()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void WorkerThreads::ReapFinished() {
  for (auto& worker : workers)
    if (worker.job->IsDone() && worker.thread.joinable()) worker.thread.join();
  workers.erase(std::remove_if(workers.begin(), workers.end(),
                               [](const Worker& worker) { return !worker.thread.joinable(); }),
                workers.end());
}

std::size_t WorkerThreads::Running() const {
  return static_cast<std::size_t>(std::count_if(workers.begin(), workers.end(),
                                                [](const Worker& w) { return !w.job->IsDone(); }));
}
