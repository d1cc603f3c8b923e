#pragma once
// While a job runs: an interrupt turned into a Stop, and, on a terminal, a
// line on stderr with the bytes done of those planned and the rate.

#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/worker_thread.h"

class ProgressLine {
  public:
    ProgressLine(WorkerThread& worker, const JobProgress& progress, bool shown);
    ~ProgressLine() { End(); }
    // Stops the ticks and clears the line.
    void End();

  private:
    void Run();
    void Show(double seconds);

    WorkerThread& worker;
    const JobProgress& progress;
    const bool shown;
    std::mutex mutex;
    std::condition_variable wake;
    bool ended = false;
    std::thread ticker;  // last: it uses the members above
};
