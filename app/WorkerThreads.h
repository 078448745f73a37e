// The extraction threads of the run.
//
// Each extraction runs on a thread of its own. The threads are kept so that
// an abandoned extraction can be finished off before the next one starts (the
// image library and the current palette serve one job at a time) and so that
// closing the program lets a worker stop between two files instead of killing
// it in the middle of one.
#pragma once

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

class ExtractJob;

class WorkerThreads {
 public:
  WorkerThreads() = default;
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Runs the extraction worker on job in a new thread.
  void Start(std::shared_ptr<ExtractJob> job);
  // Asks every running job to stop before its next file.
  void CancelAll();
  // Waits until every job has set done, joining their threads. False when
  // some job was still running at the deadline (a worker waiting for the
  // answer to a question, for instance); that thread is left alone.
  bool WaitAll(std::chrono::milliseconds timeout);
  // Joins the threads of finished jobs.
  void ReapFinished();
  std::size_t Running() const;

 private:
  struct Worker {
    std::shared_ptr<ExtractJob> job;
    std::thread thread;
  };
  std::vector<Worker> workers;
};
