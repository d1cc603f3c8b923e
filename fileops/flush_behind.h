#pragma once
// Has the device store a large output while it is still being written, so
// that the flush which completes the output finds little left to do and the
// disk works while the cipher does. A helper thread watches the progress
// counter and flushes after each step of new bytes; the body loop itself
// does nothing more per chunk. (Windows makes a flush and a write through
// one handle wait for each other: there the flushes take turns with the
// writes instead, for the same disk time in all.)

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "fileops/file_system.h"

class FlushBehind {
  public:
    static constexpr uint64_t kStep = uint64_t(32) << 20;

    // Watches `written` for an output of `expected` more bytes; an output of
    // no more than one step gets no helper. `file` must allow Flush on one
    // thread while another writes.
    FlushBehind(File& file, const std::atomic<uint64_t>& written, uint64_t expected);
    ~FlushBehind() { Finish(); }
    FlushBehind(const FlushBehind&) = delete;
    FlushBehind& operator=(const FlushBehind&) = delete;

    // Stops the helper, waiting for a flush in progress. False when any of
    // its flushes failed: a later flush may succeed although the data that
    // failed to reach the disk never will.
    bool Finish();

  private:
    void Loop();

    File& file;
    const std::atomic<uint64_t>& written;
    uint64_t flushedAt;   // the counter at the last flush, or at the start
    bool failed = false;  // written by the helper, read after joining it
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread helper;
};
