#include "base/finishing_line.h"

#include <system_error>
#include <utility>

FinishingLine::FinishingLine(size_t helpers, size_t depth)
    : helperCount(helpers), depth(depth < 1 ? 1 : depth) {}

FinishingLine::~FinishingLine() {
    Drain();
    {
        std::lock_guard<Mutex> lock(mutex);
        quit = true;
    }
    changed.notify_all();
    for (std::thread& helper : helpers) helper.join();
}

void FinishingLine::Hand(Task task) {
    if (!StartHelpers()) {
        Report report = task();
        return Add(std::move(report));
    }
    std::unique_lock<Mutex> lock(mutex);
    changed.wait(lock, [this] { return items.size() < depth; });
    items.push_back({std::move(task), nullptr});
    changed.notify_all();
}

void FinishingLine::Add(Report report) {
    std::unique_lock<Mutex> lock(mutex);
    items.push_back({nullptr, std::move(report), true, true});
    MakeDueReports(lock);
}

void FinishingLine::Drain() {
    std::unique_lock<Mutex> lock(mutex);
    changed.wait(lock, [this] { return items.empty() && !reporting; });
}

// Started at the first task; a helper that cannot be started leaves the
// caller to do the work.
bool FinishingLine::StartHelpers() {
    if (!helpers.empty()) return true;
    if (startFailed || helperCount == 0) return false;
    try {
        while (helpers.size() < helperCount) helpers.emplace_back(&FinishingLine::Loop, this);
    } catch (const std::system_error&) {
        if (helpers.empty()) startFailed = true;
    }
    return !helpers.empty();
}

void FinishingLine::Loop() {
    std::unique_lock<Mutex> lock(mutex);
    for (;;) {
        Item* next = nullptr;
        changed.wait(lock, [&] {
            for (Item& item : items) {
                if (!item.started) return (next = &item) != nullptr;
            }
            return quit;
        });
        if (!next) return;
        next->started = true;
        const Task task = std::move(next->task);
        lock.unlock();
        Report report = task();
        lock.lock();
        // Items are only taken off the front, once reported: next still
        // points at this task's item.
        next->report = std::move(report);
        next->done = true;
        MakeDueReports(lock);
    }
}

// The leading done items, one thread at a time and in order; the lock is let
// go while a report is made, so that a slow report holds up no helper.
void FinishingLine::MakeDueReports(std::unique_lock<Mutex>& lock) {
    if (reporting) return;
    reporting = true;
    while (!items.empty() && items.front().done) {
        const Report report = std::move(items.front().report);
        items.pop_front();
        changed.notify_all();
        lock.unlock();
        if (report) report();
        lock.lock();
    }
    reporting = false;
    changed.notify_all();
}
