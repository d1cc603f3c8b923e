#include "fileops/flush_behind.h"

#include <chrono>
#include <system_error>

// How often the helper looks at the counter; a step takes longer to write.
static constexpr auto kLookEvery = std::chrono::milliseconds(10);

FlushBehind::~FlushBehind() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        quit = true;
    }
    wake.notify_one();
    if (helper.joinable()) helper.join();
}

void FlushBehind::Start(File& file, uint64_t expected) {
    // Without a helper the final flush does all the work, as it would anyway.
    if (expected <= kStep || !HelperReady()) return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        watched = &file;
        flushedAt = written;
        failed = false;
    }
    wake.notify_one();
}

bool FlushBehind::Finish() {
    std::unique_lock<std::mutex> lock(mutex);
    watched = nullptr;
    idle.wait(lock, [this] { return !flushing; });
    const bool allStored = !failed;
    failed = false;
    return allStored;
}

bool FlushBehind::HelperReady() {
    if (helper.joinable()) return true;
    if (helperFailed) return false;
    try {
        helper = std::thread(&FlushBehind::Loop, this);
    } catch (const std::system_error&) {
        helperFailed = true;
    }
    return helper.joinable();
}

void FlushBehind::Loop() {
    std::unique_lock<std::mutex> lock(mutex);
    while (!quit) {
        if (!watched) {
            wake.wait(lock);
            continue;
        }
        wake.wait_for(lock, kLookEvery);
        if (quit || !watched) continue;
        const uint64_t now = written;
        if (now - flushedAt >= kStep) FlushWatched(lock, now);
        ++looks;  // counted once any flush it led to is over
    }
}

void FlushBehind::FlushWatched(std::unique_lock<std::mutex>& lock, uint64_t now) {
    File* const file = watched;
    flushedAt = now;
    flushing = true;
    lock.unlock();
    const bool stored = file->Flush();
    lock.lock();
    flushing = false;
    if (!stored) failed = true;
    idle.notify_all();
}
