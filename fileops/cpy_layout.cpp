#include "fileops/cpy_layout.h"

#include <cstring>

#include "crypto/wipe.h"

namespace cpy {

void EncryptUnits(const Cast128& cipher, uint8_t* data, size_t length) {
    cipher.EncryptBlocks(data, length / 8);
}

void DecryptUnits(const Cast128& cipher, uint8_t* data, size_t length) {
    cipher.DecryptBlocks(data, length / 8);
}

// The plain block and the check hold the key: neither outlives the call.
const char* SealKeyCheckBlock(const Cast128& cipher, uint8_t out[kKeyCheckSize]) {
    uint8_t plain[kKeyCheckSize] = {};
    uint8_t check[kKeyCheckSize];
    const WipedOnExit plainWiped(plain, sizeof plain), checkWiped(check, sizeof check);
    const uint8_t* key = cipher.Key();
    for (size_t i = 0; i < kKeyCheckSize; ++i) {
        if (key[i] == kTerminator) return "error_word";
        if (key[i] == 0) {
            plain[i] = kTerminator;
            break;
        }
        plain[i] = key[i];
    }
    std::memcpy(out, plain, kKeyCheckSize);
    EncryptUnits(cipher, out, kKeyCheckSize);
    std::memcpy(check, out, kKeyCheckSize);
    DecryptUnits(cipher, check, kKeyCheckSize);
    return std::memcmp(check, plain, kKeyCheckSize) == 0 ? nullptr : "error_safety_check";
}

const char* SealNameBlock(const Cast128& cipher, const std::string& name,
                          uint8_t out[kNameBlockSize]) {
    if (name.size() >= kNameBlockSize) return "error_max_path";
    if (name.find(char(kTerminator)) != std::string::npos) return "error_word";
    std::memset(out, 0, kNameBlockSize);
    std::memcpy(out, name.data(), name.size());
    out[name.size()] = kTerminator;
    EncryptUnits(cipher, out, kNameBlockSize);
    return nullptr;
}

void SealTailBlock(const Cast128& cipher, const uint8_t* lead, size_t count,
                   uint8_t out[kTailBlockSize]) {
    std::memset(out, 0, kTailBlockSize);
    out[7 - count] = kTerminator;
    if (count > 0) std::memcpy(out + 8 - count, lead, count);
    EncryptUnits(cipher, out, kTailBlockSize);
}

// Deciphered, the block is the key: it is wiped once compared.
bool OpenKeyCheckBlock(const Cast128& cipher, uint8_t block[kKeyCheckSize]) {
    const WipedOnExit wiped(block, kKeyCheckSize);
    DecryptUnits(cipher, block, kKeyCheckSize);
    if (void* end = std::memchr(block, kTerminator, kKeyCheckSize)) *static_cast<uint8_t*>(end) = 0;
    return std::memcmp(block, cipher.Key(), kKeyCheckSize) == 0;
}

std::string OpenNameBlock(const Cast128& cipher, uint8_t block[kNameBlockSize]) {
    DecryptUnits(cipher, block, kNameBlockSize);
    if (void* end = std::memchr(block, kTerminator, kNameBlockSize))
        *static_cast<uint8_t*>(end) = 0;
    const void* zero = std::memchr(block, 0, kNameBlockSize);
    const size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - block) : kNameBlockSize;
    return std::string(reinterpret_cast<const char*>(block), length);
}

int OpenTailBlock(const Cast128& cipher, uint8_t block[kTailBlockSize]) {
    DecryptUnits(cipher, block, kTailBlockSize);
    const void* mark = std::memchr(block, kTerminator, kTailBlockSize);
    if (!mark) return -1;
    return 7 - int(static_cast<const uint8_t*>(mark) - block);
}

}  // namespace cpy
