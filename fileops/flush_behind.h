#pragma once
// Has the device store a large output while it is still being written, so
// that the flush which completes the output finds little left to do and the
// disk works while the cipher does. A helper thread watches the progress
// counter and flushes after each step of new bytes; the body loop itself
// does nothing more per chunk. The helper is started at the first large
// output and waits between outputs; without one, the final flush does all.
// (Windows makes the calls on one handle wait for each other: there a flush
// holds up the next write until it ends.)

#include <atomic>
#include <cstdint>

#include "base/sync.h"
#include "base/task_thread.h"
#include "fs/file_system.h"

class FlushBehind {
  public:
    static constexpr uint64_t kStep = uint64_t(32) << 20;

    explicit FlushBehind(const std::atomic<uint64_t>& written) : written(written) {}
    FlushBehind(const FlushBehind&) = delete;
    FlushBehind& operator=(const FlushBehind&) = delete;

    // Watches one output for the length of a scope: flushes it as `written`
    // grows, until Finish or the end of the scope. An output of no more than
    // one step is left to its final flush. The file must allow Flush on one
    // thread while another writes.
    class Watch {
      public:
        Watch(FlushBehind& owner, File& file, uint64_t expected) : owner(owner) {
            owner.Start(file, expected);
        }
        ~Watch() { owner.Finish(); }
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;
        // Stops, waiting for a flush in progress. False when any flush failed:
        // a later flush may succeed though that data never reaches the disk.
        bool Finish() { return owner.Finish(); }

      private:
        FlushBehind& owner;
    };

    // How often the helper has looked at the counter while watching: lets a
    // test know that a flush not made was not merely late.
    uint64_t Looks() const { return looks; }

  private:
    void Start(File& file, uint64_t expected);
    bool Finish();
    void WatchLoop();
    void FlushWatched(std::unique_lock<Mutex>& lock, uint64_t now);

    const std::atomic<uint64_t>& written;
    Mutex mutex;
    CondVar wake;  // the end of the watch
    File* watched = nullptr;
    uint64_t flushedAt = 0;  // the counter at the last flush, or at the start
    bool failed = false;
    std::atomic<uint64_t> looks{0};
    TaskThread helper;  // last: it ends before what it uses
};
