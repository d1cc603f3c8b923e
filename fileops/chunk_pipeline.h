#pragma once
// A file's body in chunks of the buffer size until a short one: each read,
// handed to a step (the cipher) and written. From one whole chunk on, a
// helper thread reads ahead and writes behind while the calling thread runs
// the step, through three buffers. The helper makes every call on the files
// in one fixed order, reads two chunks ahead of each write (R0 R1 R2 W0 R3
// W1 ...), so that a given call is the same call in every run, and the
// calling thread makes none meanwhile. Reading two ahead lets the helper fall
// behind by a chunk, as it does when the cipher holds both cores, without the
// cipher waiting for it. Without a helper the chunks go one at a time.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/sync.h"
#include "base/task_thread.h"
#include "fs/file_system.h"

class ChunkPipeline {
  public:
    static constexpr size_t kChunkSize = 1 << 20;
    static constexpr size_t kSlots = 3;  // chunks in flight

    // What ended a body: all of it went through, a call failed, Stop was
    // pressed, or the step refused a chunk.
    enum class End { kWhole, kReadFailed, kWriteFailed, kStopped, kRefused };
    struct Result {
        End end = End::kWhole;
        uint64_t total = 0;  // bytes read and passed by the step
    };
    // Runs on the calling thread; false refuses the chunk and ends the body.
    using Step = std::function<bool(uint8_t* data, size_t length)>;

    // first is the caller's buffer of kChunkSize bytes; written counts the
    // bytes written as they are; Stop is honoured before each chunk.
    ChunkPipeline(std::vector<uint8_t>& first, std::atomic<uint64_t>& written,
                  const std::atomic<bool>& stop)
        : first(first), written(written), stop(stop) {}

    Result Run(File& source, File& output, uint64_t expected, const Step& step);
    // After a job: the chunks it held last, plain text among them, overwritten.
    void Wipe();

  private:
    Result RunInTurn(File& source, File& output, const Step& step);
    Result RunOverlapped(const Step& step);
    uint8_t* Slot(size_t chunk);

    // The helper's side.
    void Move();
    End MoveChunks();
    bool ReadChunk(size_t chunk);
    bool AwaitStep(size_t chunk);
    void EndMoving(End end);

    // The calling thread's side.
    bool AwaitRead(size_t chunk, size_t* got);
    void HandToWriter(size_t chunk);

    std::vector<uint8_t>& first;
    std::vector<uint8_t> others;  // the other slots, taken at the first overlapped body
    std::atomic<uint64_t>& written;
    const std::atomic<bool>& stop;

    File* source = nullptr;
    File* output = nullptr;
    Mutex mutex;
    CondVar changed;
    size_t got[kSlots] = {};  // per slot
    size_t read = 0;          // chunks read
    size_t stepped = 0;       // chunks through the step, to be written
    bool stepsOver = false;   // no more chunks will be stepped
    bool movingOver = false;
    End movingEnd = End::kWhole;
    TaskThread mover;  // last: it ends before what it uses
};
