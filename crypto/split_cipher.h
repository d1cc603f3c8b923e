#pragma once
// The bulk cipher over a body chunk on two cores: the calling thread and a
// helper thread take pieces of the chunk in turn until none is left, and the
// call returns when both are done. Pieces rather than halves: when a third
// thread (the file reader and writer) or another program holds a core, the
// thread that has one does the rest. The bytes are exactly those of one
// bulk call.
// Small chunks, one-core machines and a helper that cannot be started all
// fall back to the calling thread.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "base/task_thread.h"
#include "crypto/cast128.h"

class SplitCipher {
  public:
    void EncryptBlocks(const Cast128& cipher, uint8_t* data, size_t units);
    void DecryptBlocks(const Cast128& cipher, uint8_t* data, size_t units);

    // Below this a hand-over costs more than the second core saves.
    static constexpr size_t kMinSplitUnits = 8192;  // 64 KiB
    // Small enough that a thread the reader and writer took a core from
    // holds up the other for little when the core comes back: at 64 KiB the
    // calling thread waited twice as long for the helper's last piece.
    static constexpr size_t kPieceUnits = 2048;  // 16 KiB

  private:
    struct Part {
        const Cast128* cipher = nullptr;
        bool encrypt = true;
        uint8_t* data = nullptr;
        size_t units = 0;
    };
    static void RunPart(const Part& part);
    void Run(const Part& whole);
    void TakePieces(const Part& whole);

    std::atomic<size_t> nextPiece{0};
    TaskThread helper;
};
