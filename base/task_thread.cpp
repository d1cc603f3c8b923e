#include "base/task_thread.h"

#include <system_error>
#include <utility>

TaskThread::~TaskThread() {
    {
        std::lock_guard<Mutex> lock(mutex);
        quit = true;
    }
    wake.notify_one();
    if (helper.joinable()) helper.join();
}

bool TaskThread::Hand(std::function<void()> newTask) {
    if (!Ready()) return false;
    {
        std::unique_lock<Mutex> lock(mutex);
        done.wait(lock, [this] { return !pending; });
        task = std::move(newTask);
        cancel = false;
        pending = true;
    }
    wake.notify_one();
    return true;
}

void TaskThread::Wait() {
    std::unique_lock<Mutex> lock(mutex);
    done.wait(lock, [this] { return !pending; });
    if (thrown) std::rethrow_exception(std::exchange(thrown, nullptr));
}

bool TaskThread::Busy() const {
    std::lock_guard<Mutex> lock(mutex);
    return pending;
}

// Under the lock, so that a request cannot fall between the end of one task
// and the hand-over of the next and cancel that one.
void TaskThread::RequestCancel() {
    std::lock_guard<Mutex> lock(mutex);
    if (pending) cancel = true;
}

bool TaskThread::Ready() {
    if (helper.joinable()) return true;
    if (startFailed) return false;
    try {
        helper = std::thread(&TaskThread::Loop, this);
    } catch (const std::system_error&) {
        startFailed = true;
    }
    return helper.joinable();
}

// A task left pending at the end still runs: its owner may be waiting.
void TaskThread::Loop() {
    std::unique_lock<Mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return pending || quit; });
        if (!pending) return;
        const std::function<void()> current = std::move(task);
        lock.unlock();
        try {
            current();
        } catch (...) {
            lock.lock();
            thrown = std::current_exception();
            lock.unlock();
        }
        lock.lock();
        pending = false;
        done.notify_all();
    }
}
