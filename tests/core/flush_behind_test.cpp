// The helper thread that tasks are handed to, and the one built on it that
// has a growing output stored while it is being written.
#include "fileops/flush_behind.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/mailbox.h"
#include "base/task_thread.h"

namespace {

// Tasks run one at a time on a thread of their own, in the order handed; a
// task's exception reaches the waiting owner, and the thread goes on serving.
TEST(TaskThread, RunsTasksInTurnAndPassesOnWhatTheyThrow) {
    TaskThread thread;
    thread.Wait();  // nothing handed: returns at once
    std::vector<int> ran;
    std::thread::id where;
    for (int n : {1, 2}) {
        ASSERT_TRUE(thread.Hand([&, n] {
            ran.push_back(n);
            where = std::this_thread::get_id();
        }));
        thread.Wait();
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_NE(where, std::this_thread::get_id());
    ASSERT_TRUE(thread.Hand([] { throw std::runtime_error("task failed"); }));
    EXPECT_THROW(thread.Wait(), std::runtime_error);
    ASSERT_TRUE(thread.Hand([&] { ran.push_back(3); }));
    thread.Wait();
    EXPECT_EQ(ran.back(), 3);
}

// A task handed but not awaited still runs before the thread goes.
TEST(TaskThread, ATaskLeftPendingRunsBeforeTheEnd) {
    bool ran = false;
    {
        TaskThread thread;
        ASSERT_TRUE(thread.Hand([&] { ran = true; }));
    }
    EXPECT_TRUE(ran);
}

// A cancel lands only on a task handed over; it holds to the task's end, also
// while the next task is being handed from another thread, and that hand-over
// clears it for the next task.
TEST(TaskThread, ACancelHoldsUntilTheNextTaskIsHanded) {
    TaskThread thread;
    thread.RequestCancel();  // nothing handed: dropped
    EXPECT_FALSE(thread.CancelRequested());
    bool seenAtItsEnd = false, handedNext = false, seenByNext = true;
    std::thread other;
    ASSERT_TRUE(thread.Hand([&] {
        while (!thread.CancelRequested()) std::this_thread::yield();
        other = std::thread(
            [&] { handedNext = thread.Hand([&] { seenByNext = thread.CancelRequested(); }); });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the hand-over waits
        seenAtItsEnd = thread.CancelRequested();
    }));
    EXPECT_TRUE(thread.Busy());  // until cancelled
    thread.RequestCancel();
    thread.Wait();
    other.join();
    thread.Wait();
    EXPECT_TRUE(seenAtItsEnd);
    EXPECT_TRUE(handedNext);
    EXPECT_FALSE(seenByNext);
    EXPECT_FALSE(thread.Busy());
}

constexpr uint64_t kStep = FlushBehind::kStep;

// Counts its flushes; the first `failures` of them fail.
class FlushCounter : public File {
  public:
    explicit FlushCounter(int failures = 0) : failures(failures) {}
    bool Read(void*, size_t, size_t*) override { return false; }
    bool Write(const void*, size_t) override { return true; }
    bool Seek(uint64_t) override { return true; }
    bool Length(uint64_t*) override { return false; }
    bool Flush() override { return ++flushes > failures; }
    bool Close() override { return true; }

    std::atomic<int> flushes{0};

  private:
    const int failures;
};

// Gives the helper up to ten seconds to catch up with a flush that is due.
bool FlushesReach(const FlushCounter& file, int count) {
    for (int i = 0; i < 1000 && file.flushes < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return file.flushes == count;
}

// Returns once the helper has looked at the counter as it stands now: the
// second look from here began after the caller's last change.
void LetTheHelperLook(const FlushBehind& flushBehind) {
    const uint64_t seen = flushBehind.Looks();
    while (flushBehind.Looks() < seen + 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// In order, a wake only when the box turns non-empty, a full box holding its
// sender until the taker makes room, and a closed one dropping and freeing.
TEST(Mailbox, KeepsOrderWakesOnceAndMakesTheSenderWaitForRoom) {
    Mailbox<int> box(2);
    EXPECT_TRUE(box.Put(1));
    EXPECT_FALSE(box.Put(2));
    std::atomic<bool> third{false};
    std::thread sender([&] {
        box.Put(3);
        third = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(third);  // full: waits
    EXPECT_EQ(box.TakeAll(), (std::deque<int>{1, 2}));
    sender.join();
    EXPECT_EQ(box.TakeAll(), (std::deque<int>{3}));
    EXPECT_TRUE(box.Put(4));

    box.Put(5);
    std::thread blocked([&] { box.Put(6); });
    box.Close();
    blocked.join();
    EXPECT_FALSE(box.Put(7));
    EXPECT_TRUE(box.TakeAll().empty());
}

TEST(FlushBehind, FlushesAfterEachWholeStep) {
    FlushCounter file;
    std::atomic<uint64_t> written{1000};  // counted before the output began
    FlushBehind flushBehind(written);
    FlushBehind::Watch watch(flushBehind, file, 3 * kStep);
    written += kStep - 1;
    LetTheHelperLook(flushBehind);
    EXPECT_EQ(file.flushes, 0);
    written += 1;
    EXPECT_TRUE(FlushesReach(file, 1));
    written += kStep / 2;
    LetTheHelperLook(flushBehind);
    EXPECT_EQ(file.flushes, 1);
    written += kStep / 2;
    EXPECT_TRUE(FlushesReach(file, 2));
    EXPECT_TRUE(watch.Finish());
}

// One helper serves output after output: a failure belongs to its own output,
// and a finished output is never flushed again (it may be closed and gone).
TEST(FlushBehind, AFailedFlushFailsOnlyItsOwnOutput) {
    std::atomic<uint64_t> written{0};
    FlushBehind flushBehind(written);
    FlushCounter first(1), second;
    {
        FlushBehind::Watch watch(flushBehind, first, 3 * kStep);
        written += kStep;
        ASSERT_TRUE(FlushesReach(first, 1));
        written += kStep;
        ASSERT_TRUE(FlushesReach(first, 2));
        EXPECT_FALSE(watch.Finish());
    }
    FlushBehind::Watch watch(flushBehind, second, 3 * kStep);
    written += kStep;
    EXPECT_TRUE(FlushesReach(second, 1));
    EXPECT_TRUE(watch.Finish());
    EXPECT_EQ(first.flushes, 2);
}

// A helper at work for every small file would cost more than it saves.
TEST(FlushBehind, AnOutputOfOneStepIsLeftToItsFinalFlush) {
    FlushCounter file;
    std::atomic<uint64_t> written{0};
    FlushBehind flushBehind(written);
    FlushBehind::Watch watch(flushBehind, file, kStep);
    written += 3 * kStep;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // time to do wrong
    EXPECT_TRUE(watch.Finish());
    EXPECT_EQ(file.flushes, 0);
    EXPECT_EQ(flushBehind.Looks(), 0u);  // never watched, not merely slow
}

}  // namespace
