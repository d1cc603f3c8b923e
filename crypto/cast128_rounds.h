#pragma once
// CAST-128 round functions and the group kernel behind Cast128's bulk path,
// written once over an Ops type: ScalarOps below works on one unit's words,
// the vector kernels (crypto/cast128_avx2.h, crypto/cast128_avx512.h) on
// whole vectors of units. Only crypto/ and the tests and benchmarks that try
// other group widths include this header.

#include <cstddef>
#include <cstdint>
#include <type_traits>

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

// One unit's halves as plain words.
struct ScalarOps {
    using Word = uint32_t;
    using Count = uint32_t;
    static constexpr int kUnits = 1;  // units per Word

    static TARNU_FORCE_INLINE Word Broadcast(uint32_t v) { return v; }
    static TARNU_FORCE_INLINE Count RotationCount(uint32_t n) { return n; }
    static TARNU_FORCE_INLINE Word Rotate(Word v, Count n) { return RotateLeft(v, n); }
    static TARNU_FORCE_INLINE Word Add(Word a, Word b) { return a + b; }
    static TARNU_FORCE_INLINE Word Sub(Word a, Word b) { return a - b; }
    static TARNU_FORCE_INLINE Word Xor(Word a, Word b) { return a ^ b; }
    template <int Shift>
    static TARNU_FORCE_INLINE Word Byte(Word v) {
        return (v >> Shift) & 0xFF;
    }
    // Entry i of S1..S4, all reached from one base address.
    template <int Box>
    static TARNU_FORCE_INLINE Word Look(Word i) {
        return kRoundBoxes[Box][i];
    }
    static TARNU_FORCE_INLINE void Load(const uint8_t* p, Word& l, Word& r) {
        l = LoadBigEndian32(p);
        r = LoadBigEndian32(p + 4);
    }
    static TARNU_FORCE_INLINE void Store(uint8_t* p, Word first, Word second) {
        StoreBigEndian32(p, first);
        StoreBigEndian32(p + 4, second);
    }
};

// The three round function types of RFC 2144 section 2.2, XORed into `to`.
template <typename Ops, int Type>
TARNU_FORCE_INLINE void XorRoundF(typename Ops::Word& to, const typename Ops::Word& d,
                                  const typename Ops::Word& km, const typename Ops::Count& kr) {
    typename Ops::Word i;
    if constexpr (Type == 1) i = Ops::Add(km, d);
    if constexpr (Type == 2) i = Ops::Xor(km, d);
    if constexpr (Type == 3) i = Ops::Sub(km, d);
    i = Ops::Rotate(i, kr);
    const auto a = Ops::template Look<0>(Ops::template Byte<24>(i));
    const auto b = Ops::template Look<1>(Ops::template Byte<16>(i));
    const auto c = Ops::template Look<2>(Ops::template Byte<8>(i));
    const auto e = Ops::template Look<3>(Ops::template Byte<0>(i));
    if constexpr (Type == 1) to = Ops::Xor(to, Ops::Add(Ops::Sub(Ops::Xor(a, b), c), e));
    if constexpr (Type == 2) to = Ops::Xor(to, Ops::Xor(Ops::Add(Ops::Sub(a, b), c), e));
    if constexpr (Type == 3) to = Ops::Xor(to, Ops::Sub(Ops::Xor(Ops::Add(a, b), c), e));
}

template <int Type>
TARNU_FORCE_INLINE uint32_t RoundF(uint32_t d, uint32_t km, uint32_t kr) {
    uint32_t f = 0;
    XorRoundF<ScalarOps, Type>(f, d, km, kr);
    return f;
}
TARNU_FORCE_INLINE uint32_t F1(uint32_t d, uint32_t km, uint32_t kr) {
    return RoundF<1>(d, km, kr);
}
TARNU_FORCE_INLINE uint32_t F2(uint32_t d, uint32_t km, uint32_t kr) {
    return RoundF<2>(d, km, kr);
}
TARNU_FORCE_INLINE uint32_t F3(uint32_t d, uint32_t km, uint32_t kr) {
    return RoundF<3>(d, km, kr);
}

// One round over every Word of a group: to[j] ^= f(from[j]). The Words are
// independent, so their table look-ups overlap.
template <typename Ops, int N>
struct GroupRound {
    using Half = typename Ops::Word[N];
    const uint32_t* km;
    const uint32_t* kr;

    template <int Type>
    TARNU_FORCE_INLINE void operator()(std::integral_constant<int, Type>, Half& to,
                                       const Half& from, int i) const {
        const auto m = Ops::Broadcast(km[i]);
        const auto r = Ops::RotationCount(kr[i]);
#pragma GCC unroll 16
        for (int j = 0; j < N; ++j) XorRoundF<Ops, Type>(to[j], from[j], m, r);
    }
};

// Sixteen rounds whatever the key length. Round i of encryption uses subkey
// i and function type i % 3 + 1; decryption runs them backwards. The halves
// swap roles each round, so after an even count l holds L16 and r R16.
template <bool Encrypt, int J = 0, typename Half, typename Round>
TARNU_FORCE_INLINE void SixteenRounds(Half& l, Half& r, const Round& round) {
    if constexpr (J < 16) {
        constexpr int i = Encrypt ? J : 15 - J;
        round(std::integral_constant<int, i % 3 + 1>(), l, r, i);
        SixteenRounds<Encrypt, J + 1>(r, l, round);
    }
}

// N Words of consecutive units in place. The halves swap places on the way
// out: R16 first, then L16.
template <typename Ops, int N, bool Encrypt>
TARNU_FORCE_INLINE void CipherGroup(const uint32_t* km, const uint32_t* kr, uint8_t* data) {
    constexpr int kBytes = 8 * Ops::kUnits;
    typename Ops::Word l[N], r[N];
#pragma GCC unroll 16
    for (int j = 0; j < N; ++j) Ops::Load(data + kBytes * j, l[j], r[j]);
    SixteenRounds<Encrypt>(l, r, GroupRound<Ops, N>{km, kr});
#pragma GCC unroll 16
    for (int j = 0; j < N; ++j) Ops::Store(data + kBytes * j, r[j], l[j]);
}

// As many whole groups as the run holds, from its start; returns their units.
template <typename Ops, int N, bool Encrypt>
TARNU_FORCE_INLINE size_t CipherGroups(const uint32_t* km, const uint32_t* kr, uint8_t* data,
                                       size_t units) {
    constexpr size_t kGroup = size_t(N) * Ops::kUnits;
    size_t done = 0;
    for (; units - done >= kGroup; done += kGroup) {
        CipherGroup<Ops, N, Encrypt>(km, kr, data + 8 * done);
    }
    return done;
}

}  // namespace cast128

// Groups of N units, then the remainder one unit at a time.
template <int N>
void Cast128::EncryptBlocksGrouped(uint8_t* data, size_t units) const {
    const size_t done =
        cast128::CipherGroups<cast128::ScalarOps, N, true>(masking, rotation, data, units);
    for (size_t i = done; i < units; ++i) EncryptBlock(data + 8 * i, data + 8 * i);
}

template <int N>
void Cast128::DecryptBlocksGrouped(uint8_t* data, size_t units) const {
    const size_t done =
        cast128::CipherGroups<cast128::ScalarOps, N, false>(masking, rotation, data, units);
    for (size_t i = done; i < units; ++i) DecryptBlock(data + 8 * i, data + 8 * i);
}
