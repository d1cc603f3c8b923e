#pragma once
// A helper thread that runs one task at a time for an owner that waits for
// each. It starts at the first task and waits between tasks until the object
// goes. A thread that cannot be started is remembered: Hand then returns
// false every time and the caller does the work itself.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

class TaskThread {
  public:
    TaskThread() = default;
    ~TaskThread();
    TaskThread(const TaskThread&) = delete;
    TaskThread& operator=(const TaskThread&) = delete;

    // Starts task on the helper and returns; false, with nothing started,
    // when there is no helper. One task at a time: Wait before the next.
    bool Hand(std::function<void()> task);
    // Returns once the task handed last is done, at once when there is none.
    // What the task threw is thrown here.
    void Wait();

  private:
    bool Ready();
    void Loop();

    std::mutex mutex;
    std::condition_variable wake, done;
    std::function<void()> task;
    std::exception_ptr thrown;
    bool pending = false;
    bool quit = false;
    bool startFailed = false;
    std::thread helper;
};
