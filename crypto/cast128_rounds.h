#pragma once
// CAST-128 round functions and the group kernel behind Cast128's bulk path.
// Only crypto/ and the tests and benchmarks that try other group widths
// include this header.

#include <cstddef>
#include <cstdint>

#include "crypto/byte_order.h"
#include "crypto/cast128.h"
#include "crypto/cast128_sboxes.h"

// The kernels are useful only when everything in a group is one flat body.
#define TARNU_FORCE_INLINE inline __attribute__((always_inline))

namespace cast128 {

// Rotation written so that a count of 0 is defined and the compiler emits a
// single rotate instruction.
TARNU_FORCE_INLINE uint32_t RotateLeft(uint32_t v, uint32_t n) {
    return (v << n) | (v >> ((32 - n) & 31));
}

// The three round function types of RFC 2144 section 2.2.
TARNU_FORCE_INLINE uint32_t F1(uint32_t d, uint32_t km, uint32_t kr) {
    const uint32_t i = RotateLeft(km + d, kr);
    return ((kS1[i >> 24] ^ kS2[(i >> 16) & 0xFF]) - kS3[(i >> 8) & 0xFF]) + kS4[i & 0xFF];
}
TARNU_FORCE_INLINE uint32_t F2(uint32_t d, uint32_t km, uint32_t kr) {
    const uint32_t i = RotateLeft(km ^ d, kr);
    return ((kS1[i >> 24] - kS2[(i >> 16) & 0xFF]) + kS3[(i >> 8) & 0xFF]) ^ kS4[i & 0xFF];
}
TARNU_FORCE_INLINE uint32_t F3(uint32_t d, uint32_t km, uint32_t kr) {
    const uint32_t i = RotateLeft(km - d, kr);
    return ((kS1[i >> 24] + kS2[(i >> 16) & 0xFF]) ^ kS3[(i >> 8) & 0xFF]) - kS4[i & 0xFF];
}

// One round over every unit of a group: to[j] ^= f(from[j]). The units are
// independent, so their table look-ups overlap.
template <int Type, int N>
TARNU_FORCE_INLINE void Round(uint32_t (&to)[N], const uint32_t (&from)[N], const uint32_t* km,
                              const uint32_t* kr, int i) {
    const uint32_t m = km[i], r = kr[i];
#pragma GCC unroll 8
    for (int j = 0; j < N; ++j) {
        if constexpr (Type == 1) to[j] ^= F1(from[j], m, r);
        if constexpr (Type == 2) to[j] ^= F2(from[j], m, r);
        if constexpr (Type == 3) to[j] ^= F3(from[j], m, r);
    }
}

template <int N>
TARNU_FORCE_INLINE void LoadGroup(const uint8_t* data, uint32_t (&l)[N], uint32_t (&r)[N]) {
#pragma GCC unroll 8
    for (int j = 0; j < N; ++j) {
        l[j] = LoadBigEndian32(data + 8 * j);
        r[j] = LoadBigEndian32(data + 8 * j + 4);
    }
}

// The halves swap places on the way out: R16 first, then L16.
template <int N>
TARNU_FORCE_INLINE void StoreGroup(uint8_t* data, const uint32_t (&l)[N], const uint32_t (&r)[N]) {
#pragma GCC unroll 8
    for (int j = 0; j < N; ++j) {
        StoreBigEndian32(data + 8 * j, r[j]);
        StoreBigEndian32(data + 8 * j + 4, l[j]);
    }
}

// N consecutive units in place, sixteen rounds whatever the key length.
template <int N>
TARNU_FORCE_INLINE void EncryptGroup(const uint32_t* m, const uint32_t* k, uint8_t* data) {
    uint32_t l[N], r[N];
    LoadGroup(data, l, r);
    Round<1>(l, r, m, k, 0);
    Round<2>(r, l, m, k, 1);
    Round<3>(l, r, m, k, 2);
    Round<1>(r, l, m, k, 3);
    Round<2>(l, r, m, k, 4);
    Round<3>(r, l, m, k, 5);
    Round<1>(l, r, m, k, 6);
    Round<2>(r, l, m, k, 7);
    Round<3>(l, r, m, k, 8);
    Round<1>(r, l, m, k, 9);
    Round<2>(l, r, m, k, 10);
    Round<3>(r, l, m, k, 11);
    Round<1>(l, r, m, k, 12);
    Round<2>(r, l, m, k, 13);
    Round<3>(l, r, m, k, 14);
    Round<1>(r, l, m, k, 15);
    StoreGroup(data, l, r);
}

// The same rounds with the subkeys in reverse order.
template <int N>
TARNU_FORCE_INLINE void DecryptGroup(const uint32_t* m, const uint32_t* k, uint8_t* data) {
    uint32_t l[N], r[N];
    LoadGroup(data, l, r);
    Round<1>(l, r, m, k, 15);
    Round<3>(r, l, m, k, 14);
    Round<2>(l, r, m, k, 13);
    Round<1>(r, l, m, k, 12);
    Round<3>(l, r, m, k, 11);
    Round<2>(r, l, m, k, 10);
    Round<1>(l, r, m, k, 9);
    Round<3>(r, l, m, k, 8);
    Round<2>(l, r, m, k, 7);
    Round<1>(r, l, m, k, 6);
    Round<3>(l, r, m, k, 5);
    Round<2>(r, l, m, k, 4);
    Round<1>(l, r, m, k, 3);
    Round<3>(r, l, m, k, 2);
    Round<2>(l, r, m, k, 1);
    Round<1>(r, l, m, k, 0);
    StoreGroup(data, l, r);
}

}  // namespace cast128

// Groups of N units, then the remainder one unit at a time.
template <int N>
void Cast128::EncryptBlocksGrouped(uint8_t* data, size_t units) const {
    for (; units >= size_t(N); units -= N, data += 8 * N) {
        cast128::EncryptGroup<N>(masking, rotation, data);
    }
    for (; units > 0; --units, data += 8) EncryptBlock(data, data);
}

template <int N>
void Cast128::DecryptBlocksGrouped(uint8_t* data, size_t units) const {
    for (; units >= size_t(N); units -= N, data += 8 * N) {
        cast128::DecryptGroup<N>(masking, rotation, data);
    }
    for (; units > 0; --units, data += 8) DecryptBlock(data, data);
}
