#pragma once
// The lock and condition variable that a job's threads hand chunks over
// with. On Windows they are the system's slim ones: the C++ library's own
// wait on kernel objects, which under Wine cost a round trip to its server
// each (40 to 60 us a hand-over against 2 to 3), several times per chunk.
// Elsewhere they are the standard ones. Used as std::mutex and
// std::condition_variable are, through std::unique_lock and std::lock_guard.

#include <chrono>
#include <condition_variable>
#include <mutex>

#ifdef _WIN32

class Mutex {
  public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    void lock();
    void unlock();

  private:
    friend class CondVar;
    void* slim = nullptr;  // an SRWLOCK: free while null
};

class CondVar {
  public:
    CondVar() = default;
    CondVar(const CondVar&) = delete;
    CondVar& operator=(const CondVar&) = delete;
    void wait(std::unique_lock<Mutex>& lock);
    template <typename Ready>
    void wait(std::unique_lock<Mutex>& lock, Ready ready) {
        while (!ready()) wait(lock);
    }
    // Returns when woken or after the timeout, whichever comes first.
    void wait_for(std::unique_lock<Mutex>& lock, std::chrono::milliseconds timeout);
    void notify_one();
    void notify_all();

  private:
    void* slim = nullptr;  // a CONDITION_VARIABLE
};

#else

using Mutex = std::mutex;
using CondVar = std::condition_variable;

#endif
