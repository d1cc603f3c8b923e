#pragma once
// The worker's three manual-reset signals: quit, start and stop. Each stays
// set until reset; the worker sleeps until quit or start is set.

#include <condition_variable>
#include <mutex>

enum class WorkerEvent { kQuit, kStart, kStop };

class WorkerEvents {
  public:
    void Set(WorkerEvent e) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            Flag(e) = true;
        }
        changed.notify_all();
    }
    void Reset(WorkerEvent e) {
        std::lock_guard<std::mutex> lock(mutex);
        Flag(e) = false;
    }
    bool IsSet(WorkerEvent e) {
        std::lock_guard<std::mutex> lock(mutex);
        return Flag(e);
    }
    // Quit wins when both are set.
    WorkerEvent WaitForQuitOrStart() {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return quit || start; });
        return quit ? WorkerEvent::kQuit : WorkerEvent::kStart;
    }

  private:
    bool& Flag(WorkerEvent e) {
        return e == WorkerEvent::kQuit ? quit : e == WorkerEvent::kStart ? start : stop;
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool quit = false, start = false, stop = false;
};
