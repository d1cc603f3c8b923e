#include "cli/progress_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "cli/terminal.h"

namespace {

const auto kTick = std::chrono::milliseconds(100);

}  // namespace

ProgressLine::ProgressLine(WorkerThread& worker, const JobProgress& progress, bool shown)
    : worker(worker), progress(progress), shown(shown), ticker(&ProgressLine::Run, this) {}

void ProgressLine::End() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (ended) return;
        ended = true;
    }
    wake.notify_all();
    ticker.join();
    if (shown) std::fprintf(stderr, "\r%60s\r", "");
}

void ProgressLine::Run() {
    const auto start = std::chrono::steady_clock::now();
    bool stopped = false;
    std::unique_lock<std::mutex> lock(mutex);
    for (int tick = 1; !wake.wait_for(lock, kTick, [this] { return ended; }); ++tick) {
        if (!stopped && Interrupted()) {
            stopped = true;
            worker.RequestStop();
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (shown && tick % 5 == 0) Show(elapsed.count());
    }
}

// Done counts the finished files and the file at hand, never past the plan.
void ProgressLine::Show(double seconds) {
    const uint64_t total = progress.total;
    const uint64_t done = std::min(total, progress.done + worker.Processor().GetCounters());
    std::fprintf(stderr, "\r%.1f of %.1f MB, %.1f MB/s   ", done / 1e6, total / 1e6,
                 seconds > 0 ? done / 1e6 / seconds : 0.0);
    std::fflush(stderr);
}
