#pragma once
// The bulk cipher over a body chunk on two cores: the calling thread takes
// the first half of the units, a helper thread the second, and the call
// returns when both are done. The bytes are exactly those of one bulk call.
// The helper is started at the first large chunk and lives as long as the
// object, waiting between chunks; small chunks, one-core machines and a
// helper that cannot be started all fall back to the calling thread.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "crypto/cast128.h"

class SplitCipher {
  public:
    SplitCipher() = default;
    ~SplitCipher();
    SplitCipher(const SplitCipher&) = delete;
    SplitCipher& operator=(const SplitCipher&) = delete;

    void EncryptBlocks(const Cast128& cipher, uint8_t* data, size_t units);
    void DecryptBlocks(const Cast128& cipher, uint8_t* data, size_t units);

    // Below this a hand-over costs more than the second core saves.
    static constexpr size_t kMinSplitUnits = 8192;  // 64 KiB

  private:
    struct Part {
        const Cast128* cipher = nullptr;
        bool encrypt = true;
        uint8_t* data = nullptr;
        size_t units = 0;
    };
    static void RunPart(const Part& part);
    void Run(const Part& whole);
    bool HelperReady();
    void HelperLoop();

    std::mutex mutex;
    std::condition_variable wake, done;
    Part handed;
    bool pending = false;
    bool quit = false;
    bool helperFailed = false;
    std::thread helper;
};
