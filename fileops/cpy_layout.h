#pragma once
// The byte layout of an encrypted ".cpy" file, as pure functions over buffers.
//
//   offset 0    16 bytes   key check block: key bytes, 0x0A, zeros
//   offset 16   256 bytes  name block: source file name, 0x0A, zeros
//   offset 272  8 bytes    tail block: zeros, 0x0A, the first S mod 8 source bytes
//   offset 280  S - r      body: the rest of the source
//
// Every 8-byte unit is enciphered on its own. There is no length field, so
// the same layout holds for files of any size.

#include <cstddef>
#include <cstdint>
#include <string>

#include "crypto/cast128.h"

namespace cpy {

constexpr size_t kKeyCheckSize = 16;
constexpr size_t kNameBlockSize = 256;
constexpr size_t kTailBlockSize = 8;
constexpr uint64_t kHeaderSize = kKeyCheckSize + kNameBlockSize + kTailBlockSize;  // 280
constexpr uint8_t kTerminator = 0x0A;

// Writer side. Each returns nullptr on success, or the text key of the refusal.

// Key bytes up to the first zero, 0x0A, zeros; enciphered and checked by
// deciphering again ("error_word", "error_safety_check").
const char* SealKeyCheckBlock(const Cast128& cipher, uint8_t out[kKeyCheckSize]);
// The name, 0x0A, zeros; enciphered ("error_max_path" at 256 bytes or more,
// "error_word" for a name holding 0x0A).
const char* SealNameBlock(const Cast128& cipher, const std::string& name,
                          uint8_t out[kNameBlockSize]);
// The first `count` (0..7) source bytes behind zeros and 0x0A; enciphered.
void SealTailBlock(const Cast128& cipher, const uint8_t* lead, size_t count,
                   uint8_t out[kTailBlockSize]);

// Reader side; each deciphers its block in place.

// True when the block deciphers to the cipher's own key; the block is wiped.
bool OpenKeyCheckBlock(const Cast128& cipher, uint8_t block[kKeyCheckSize]);
// The stored name: the bytes before the first 0x0A or zero byte.
std::string OpenNameBlock(const Cast128& cipher, uint8_t block[kNameBlockSize]);
// The number of leading source bytes (0..7), which then stand in the last
// places of the block; -1 when the block holds no 0x0A (a damaged file).
int OpenTailBlock(const Cast128& cipher, uint8_t block[kTailBlockSize]);

// Bodies: whole 8-byte units in place; length must be a multiple of 8.
void EncryptUnits(const Cast128& cipher, uint8_t* data, size_t length);
void DecryptUnits(const Cast128& cipher, uint8_t* data, size_t length);

// Length rule and sizes.
inline size_t LeadCount(uint64_t sourceLength) { return size_t(sourceLength % 8); }
inline uint64_t EncryptedLength(uint64_t sourceLength) {
    return kHeaderSize + sourceLength - LeadCount(sourceLength);
}
inline bool IsPlausibleLength(uint64_t encryptedLength) {
    return encryptedLength >= kHeaderSize && encryptedLength % 8 == 0;
}
inline uint64_t SourceLength(uint64_t encryptedLength, size_t leadCount) {
    return encryptedLength - kHeaderSize + leadCount;
}

}  // namespace cpy
