#include "crypto/sha1.h"

#include <cstring>

#include "crypto/byte_order.h"
#include "crypto/wipe.h"

Sha1Context::~Sha1Context() {
    WipeBytes(state, sizeof state);
    WipeBytes(block, sizeof block);
}

namespace {
inline uint32_t RotateLeft(uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }
}  // namespace

size_t Sha1Context::ComputeDigest(uint8_t* out, size_t* outLength, const uint8_t* input,
                                  size_t inputLength) {
    if (*outLength < kDigestSize) return 0;
    Reset();
    for (uint32_t i = 0; i < repeatCount; ++i) Update(input, inputLength);
    Finish(out);
    *outLength = kDigestSize;
    return kDigestSize;
}

void Sha1Context::Reset() {
    state[0] = 0x67452301;
    state[1] = 0xEFCDAB89;
    state[2] = 0x98BADCFE;
    state[3] = 0x10325476;
    state[4] = 0xC3D2E1F0;
    bitCountLow = bitCountHigh = 0;
    blockIndex = 0;
}

void Sha1Context::Update(const uint8_t* data, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        block[blockIndex++] = data[i];
        bitCountLow += 8;
        if (bitCountLow == 0) ++bitCountHigh;
        if (blockIndex == 64) Compress();
    }
}

// Pads with 0x80 and zeros to offset 56 (an extra block when fewer than 8
// bytes are left), appends the bit count big-endian and writes H0..H4.
void Sha1Context::Finish(uint8_t* out) {
    const uint32_t low = bitCountLow, high = bitCountHigh;
    block[blockIndex++] = 0x80;
    if (blockIndex > 56) {
        std::memset(block + blockIndex, 0, 64 - blockIndex);
        Compress();
    }
    std::memset(block + blockIndex, 0, 56 - blockIndex);
    StoreBigEndian32(block + 56, high);
    StoreBigEndian32(block + 60, low);
    Compress();
    for (int i = 0; i < 5; ++i) StoreBigEndian32(out + 4 * i, state[i]);
    std::memset(block, 0, sizeof block);
    bitCountLow = bitCountHigh = 0;
}

// The 80-step compression of one 64-byte block; empties the block.
void Sha1Context::Compress() {
    uint32_t w[80];
    for (int t = 0; t < 16; ++t) w[t] = LoadBigEndian32(block + 4 * t);
    for (int t = 16; t < 80; ++t) w[t] = RotateLeft(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (int t = 0; t < 80; ++t) {
        uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const uint32_t next = RotateLeft(a, 5) + f + e + k + w[t];
        e = d;
        d = c;
        c = RotateLeft(b, 30);
        b = a;
        a = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    blockIndex = 0;
}
