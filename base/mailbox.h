#pragma once
// Items from one thread to another that takes them in batches: the sender
// leaves each item and goes on, and learns when the box turned from empty to
// not empty (the moment to wake the taker). Items keep their order. A sender
// far ahead of the taker waits for room, so nothing is ever dropped, until
// the box is closed: from then on items are dropped and no one waits.

#include <cstddef>
#include <deque>

#include "base/sync.h"

template <class T>
class Mailbox {
  public:
    explicit Mailbox(size_t capacity) : capacity(capacity) {}

    // True when the box was empty: the taker must be woken.
    bool Put(T item) {
        std::unique_lock<Mutex> lock(mutex);
        roomMade.wait(lock, [this] { return closed || items.size() < capacity; });
        if (closed) return false;
        items.push_back(std::move(item));
        return items.size() == 1;
    }

    bool Full() {
        std::lock_guard<Mutex> lock(mutex);
        return items.size() >= capacity;
    }

    std::deque<T> TakeAll() {
        std::deque<T> taken;
        {
            std::lock_guard<Mutex> lock(mutex);
            taken.swap(items);
        }
        roomMade.notify_all();
        return taken;
    }

    void Close() {
        {
            std::lock_guard<Mutex> lock(mutex);
            closed = true;
            items.clear();
        }
        roomMade.notify_all();
    }

  private:
    const size_t capacity;
    Mutex mutex;
    CondVar roomMade;
    std::deque<T> items;
    bool closed = false;
};
