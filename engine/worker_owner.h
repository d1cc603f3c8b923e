#pragma once
// What the worker sees of its owner (the main window, or a test's recorder).

#include <atomic>
#include <cstdint>
#include <string>

#include "fileops/file_processor.h"

// Byte counts of the running job, read by the owner's progress display while
// the worker writes them.
struct JobProgress {
    std::atomic<uint64_t> start{0};
    std::atomic<uint64_t> done{0};   // bytes of the job's finished files
    std::atomic<uint64_t> total{0};  // bytes planned for the job
};

class WorkerOwner {
  public:
    virtual ~WorkerOwner() = default;
    // Each returns once the owner has taken the line or text, so that all
    // lines keep their order.
    virtual void AddLogLine(const std::string& text) = 0;
    virtual void ReportLine(const std::string& line, ReportKind kind) = 0;
    virtual void SetPromptText(const std::string& text) = 0;
    // Called after every job, whatever its outcome; must not wait for the owner.
    virtual void JobFinished() = 0;
    virtual JobProgress& Progress() = 0;
};
