#include "fileops/flush_behind.h"

#include <chrono>
#include <system_error>

// How often the helper looks at the counter; a step takes longer to write.
static constexpr auto kLookEvery = std::chrono::milliseconds(10);

FlushBehind::FlushBehind(File& file, const std::atomic<uint64_t>& written, uint64_t expected)
    : file(file), written(written), flushedAt(written) {
    if (expected <= kStep) return;
    try {
        helper = std::thread(&FlushBehind::Loop, this);
    } catch (const std::system_error&) {
        // Without a helper the final flush does all the work, as it would anyway.
    }
}

bool FlushBehind::Finish() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    if (helper.joinable()) helper.join();
    return !failed;
}

void FlushBehind::Loop() {
    std::unique_lock<std::mutex> lock(mutex);
    while (!wake.wait_for(lock, kLookEvery, [this] { return stopping; })) {
        const uint64_t now = written;
        if (now - flushedAt < kStep) continue;
        lock.unlock();
        if (!file.Flush()) failed = true;
        flushedAt = now;
        lock.lock();
    }
}
