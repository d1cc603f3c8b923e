#include "crypto/split_cipher.h"

#include <system_error>

SplitCipher::~SplitCipher() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        quit = true;
    }
    wake.notify_one();
    if (helper.joinable()) helper.join();
}

void SplitCipher::EncryptBlocks(const Cast128& cipher, uint8_t* data, size_t units) {
    Run({&cipher, true, data, units});
}

void SplitCipher::DecryptBlocks(const Cast128& cipher, uint8_t* data, size_t units) {
    Run({&cipher, false, data, units});
}

void SplitCipher::RunPart(const Part& part) {
    if (part.encrypt) {
        part.cipher->EncryptBlocks(part.data, part.units);
    } else {
        part.cipher->DecryptBlocks(part.data, part.units);
    }
}

void SplitCipher::Run(const Part& whole) {
    if (whole.units < kMinSplitUnits || !HelperReady()) return RunPart(whole);
    const size_t firstUnits = whole.units / 2;
    Part first = whole, second = whole;
    first.units = firstUnits;
    second.data += firstUnits * Cast128::kBlockSize;
    second.units -= firstUnits;
    {
        std::lock_guard<std::mutex> lock(mutex);
        handed = second;
        pending = true;
    }
    wake.notify_one();
    RunPart(first);
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [this] { return !pending; });
}

bool SplitCipher::HelperReady() {
    if (helper.joinable()) return true;
    if (helperFailed || std::thread::hardware_concurrency() < 2) return false;
    try {
        helper = std::thread(&SplitCipher::HelperLoop, this);
    } catch (const std::system_error&) {
        helperFailed = true;
    }
    return helper.joinable();
}

void SplitCipher::HelperLoop() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return pending || quit; });
        if (quit) return;
        const Part part = handed;
        lock.unlock();
        RunPart(part);
        lock.lock();
        pending = false;
        done.notify_one();
    }
}
