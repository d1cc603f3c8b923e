#include "fileops/flush_behind.h"

#include <chrono>

// How often the helper looks at the counter; a step takes longer to write.
static constexpr auto kLookEvery = std::chrono::milliseconds(10);

void FlushBehind::Start(File& file, uint64_t expected) {
    if (expected <= kStep) return;
    {
        std::lock_guard<Mutex> lock(mutex);
        watched = &file;
        flushedAt = written;
        failed = false;
    }
    if (!helper.Hand([this] { WatchLoop(); })) {
        std::lock_guard<Mutex> lock(mutex);
        watched = nullptr;
    }
}

bool FlushBehind::Finish() {
    {
        std::lock_guard<Mutex> lock(mutex);
        watched = nullptr;
    }
    wake.notify_one();
    helper.Wait();  // a flush in progress ends first
    std::lock_guard<Mutex> lock(mutex);
    const bool allStored = !failed;
    failed = false;
    return allStored;
}

// On the helper, for one output.
void FlushBehind::WatchLoop() {
    std::unique_lock<Mutex> lock(mutex);
    while (watched) {
        wake.wait_for(lock, kLookEvery);
        if (!watched) break;
        const uint64_t now = written;
        if (now - flushedAt >= kStep) FlushWatched(lock, now);
        ++looks;  // counted once any flush it led to is over
    }
}

void FlushBehind::FlushWatched(std::unique_lock<Mutex>& lock, uint64_t now) {
    File* const file = watched;
    flushedAt = now;
    lock.unlock();
    const bool stored = file->Flush();
    lock.lock();
    if (!stored) failed = true;
}
