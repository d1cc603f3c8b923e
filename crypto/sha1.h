#pragma once
// SHA-1 (FIPS 180-1) with a one-shot digest that feeds its input a set number
// of times in a row: the password check value is the digest of ten copies.

#include <cstddef>
#include <cstdint>

class Sha1Context {
  public:
    static constexpr size_t kDigestSize = 20;

    // The state and the last block hold what was fed: a password.
    ~Sha1Context();

    // Resets, feeds input `repeatCount` times, finishes into out. Returns 20
    // and sets *outLength to 20, or returns 0 if *outLength is below 20.
    size_t ComputeDigest(uint8_t* out, size_t* outLength, const uint8_t* input, size_t inputLength);

    uint32_t repeatCount = 10;

  private:
    void Reset();
    void Update(const uint8_t* data, size_t length);
    void Finish(uint8_t* out);
    void Compress();

    uint32_t state[5] = {};
    uint32_t bitCountLow = 0;
    uint32_t bitCountHigh = 0;
    uint8_t block[64] = {};
    uint32_t blockIndex = 0;
};
