#pragma once
// A helper thread that runs one task at a time for an owner. It starts at the
// first task and waits between tasks until the object goes. A thread that
// cannot be started is remembered: Hand then returns false every time and the
// caller does the work itself.
//
// A task may be asked to cancel. The request holds from the moment it is
// made until the next task is handed over, so a task that reads it late
// still sees it; a request made while no task is handed is dropped.

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

#include "base/sync.h"

class TaskThread {
  public:
    TaskThread() = default;
    ~TaskThread();
    TaskThread(const TaskThread&) = delete;
    TaskThread& operator=(const TaskThread&) = delete;

    // Starts task on the helper and returns; false, with nothing started,
    // when there is no helper. A task still running is waited for first
    // (what it threw is left for Wait).
    bool Hand(std::function<void()> task);
    // Returns once the task handed last is done, at once when there is none.
    // What the task threw is thrown here.
    void Wait();
    // True from Hand until the task is done.
    bool Busy() const;

    // Any thread; the task handed last sees it through CancelRequested.
    void RequestCancel();
    const std::atomic<bool>& CancelRequested() const { return cancel; }

  private:
    bool Ready();
    void Loop();

    std::atomic<bool> cancel{false};
    mutable Mutex mutex;
    CondVar wake, done;
    std::function<void()> task;
    std::exception_ptr thrown;
    bool pending = false;
    bool quit = false;
    bool startFailed = false;
    std::thread helper;
};
