#include "crypto/split_cipher.h"

#include <thread>

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
    static const bool twoCores = std::thread::hardware_concurrency() >= 2;
    if (whole.units < kMinSplitUnits || !twoCores) return RunPart(whole);
    const size_t firstUnits = whole.units / 2;
    Part first = whole, second = whole;
    first.units = firstUnits;
    second.data += firstUnits * Cast128::kBlockSize;
    second.units -= firstUnits;
    if (!helper.Hand([second] { RunPart(second); })) return RunPart(whole);
    RunPart(first);
    helper.Wait();
}
