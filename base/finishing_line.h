#pragma once
// FinishingLine: work handed over to helper threads whose results must still
// be told in the order it was handed over. A job gives it each file once the
// file's output is written: the flush, stamp, final name and the original's
// removal then run on a helper while the job reads and writes the next
// files, so that the device's flush latency is paid side by side instead of
// once per file in turn. A task's own steps stay in order on one helper.
//
// A task returns its report, made after the reports of every task and
// report handed over before it; the reports are made one at a time, on
// whichever thread finds them due. With no helpers (or none that could be
// started) every task runs at once on the caller.

#include <cstddef>
#include <deque>
#include <functional>
#include <thread>
#include <vector>

#include "base/sync.h"

class FinishingLine {
  public:
    using Report = std::function<void()>;
    using Task = std::function<Report()>;

    // At most depth tasks wait or run at once; Hand waits for room.
    FinishingLine(size_t helpers, size_t depth);
    // Finishes and reports whatever was handed over.
    ~FinishingLine();
    FinishingLine(const FinishingLine&) = delete;
    FinishingLine& operator=(const FinishingLine&) = delete;

    void Hand(Task task);
    // A report with nothing to finish first, made in its turn.
    void Add(Report report);
    // Returns once every task handed over is done and every report made.
    void Drain();

  private:
    struct Item {
        Task task;
        Report report;
        bool started = false, done = false;
    };
    bool StartHelpers();
    void Loop();
    void MakeDueReports(std::unique_lock<Mutex>& lock);

    const size_t helperCount, depth;
    Mutex mutex;
    CondVar changed;
    std::deque<Item> items;  // in the order handed over, until reported
    bool reporting = false;
    bool quit = false;
    bool startFailed = false;
    std::vector<std::thread> helpers;
};
