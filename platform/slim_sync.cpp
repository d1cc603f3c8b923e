#include <windows.h>

#include "base/sync.h"

// Both are a single pointer, all zero when unused, as the header keeps them.
static_assert(sizeof(SRWLOCK) == sizeof(void*), "SRWLOCK is one pointer");
static_assert(sizeof(CONDITION_VARIABLE) == sizeof(void*), "CONDITION_VARIABLE is one pointer");

namespace {
SRWLOCK* Lock(void*& slim) { return reinterpret_cast<SRWLOCK*>(&slim); }
CONDITION_VARIABLE* Variable(void*& slim) { return reinterpret_cast<CONDITION_VARIABLE*>(&slim); }
}  // namespace

void Mutex::lock() { AcquireSRWLockExclusive(Lock(slim)); }

void Mutex::unlock() { ReleaseSRWLockExclusive(Lock(slim)); }

void CondVar::wait(std::unique_lock<Mutex>& lock) {
    SleepConditionVariableSRW(Variable(slim), Lock(lock.mutex()->slim), INFINITE, 0);
}

void CondVar::wait_for(std::unique_lock<Mutex>& lock, std::chrono::milliseconds timeout) {
    SleepConditionVariableSRW(Variable(slim), Lock(lock.mutex()->slim), DWORD(timeout.count()), 0);
}

void CondVar::notify_one() { WakeConditionVariable(Variable(slim)); }

void CondVar::notify_all() { WakeAllConditionVariable(Variable(slim)); }
