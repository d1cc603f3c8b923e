#pragma once
// CAST-128 on AVX2 vectors of eight units: the table look-ups become gathers.
// Everything here is compiled for AVX2 by function attribute alone, so the
// rest of the build keeps its flags; only a CPU that has AVX2 may run it
// (crypto/cast128_kernels.cpp decides).

#include "crypto/cast128_rounds.h"
#include "crypto/vector_intrinsics.h"

#define TARNU_AVX2 __attribute__((target("avx2")))

namespace cast128 {

// Vectors per group, the fastest that tests/bench/kernel_widths measured. An
// i686 build has only eight vector registers, so a narrower group; its width
// could be measured only under emulation here.
#if defined(__x86_64__)
inline constexpr int kAvx2Vectors = 2;
#else
inline constexpr int kAvx2Vectors = 2;
#endif

// Not forced inline: the generic templates that call these have no AVX2, and
// only flattening them into an AVX2 kernel (Avx2Blocks) joins the two.
struct Avx2Ops {
    using Word = __m256i;
    struct Count {
        __m128i left, right;
    };
    static constexpr int kUnits = 8;

    TARNU_AVX2 static Word Broadcast(uint32_t v) { return _mm256_set1_epi32(int(v)); }
    // A shift by 32 gives 0, so a rotation by 0 needs no special case.
    TARNU_AVX2 static Count RotationCount(uint32_t n) {
        return {_mm_cvtsi32_si128(int(n)), _mm_cvtsi32_si128(int(32 - n))};
    }
    TARNU_AVX2 static Word Rotate(Word v, Count n) {
        return _mm256_or_si256(_mm256_sll_epi32(v, n.left), _mm256_srl_epi32(v, n.right));
    }
    TARNU_AVX2 static Word Add(Word a, Word b) { return _mm256_add_epi32(a, b); }
    TARNU_AVX2 static Word Sub(Word a, Word b) { return _mm256_sub_epi32(a, b); }
    TARNU_AVX2 static Word Xor(Word a, Word b) { return _mm256_xor_si256(a, b); }
    template <int Shift>
    TARNU_AVX2 static Word Byte(Word v) {
        const Word shifted = _mm256_srli_epi32(v, Shift);
        if constexpr (Shift == 24) return shifted;
        return _mm256_and_si256(shifted, _mm256_set1_epi32(0xFF));
    }
    template <int Box>
    TARNU_AVX2 static Word Look(Word i) {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(kRoundBoxes[Box]), i, 4);
    }

    // Within each 128-bit lane: words 0, 2, 1, 3, each byte-swapped. Its own
    // inverse, so it serves loads and stores alike.
    TARNU_AVX2 static Word Shuffle(Word v) {
        const Word order = _mm256_setr_epi8(3, 2, 1, 0, 11, 10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12, 3,
                                            2, 1, 0, 11, 10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12);
        return _mm256_shuffle_epi8(v, order);
    }
    // Eight units: the left halves into l, the right into r, in one order
    // that Store undoes.
    TARNU_AVX2 static void Load(const uint8_t* p, Word& l, Word& r) {
        const Word a = Shuffle(_mm256_loadu_si256(reinterpret_cast<const Word*>(p)));
        const Word b = Shuffle(_mm256_loadu_si256(reinterpret_cast<const Word*>(p + 32)));
        l = _mm256_unpacklo_epi64(a, b);
        r = _mm256_unpackhi_epi64(a, b);
    }
    TARNU_AVX2 static void Store(uint8_t* p, Word first, Word second) {
        _mm256_storeu_si256(reinterpret_cast<Word*>(p),
                            Shuffle(_mm256_unpacklo_epi64(first, second)));
        _mm256_storeu_si256(reinterpret_cast<Word*>(p + 32),
                            Shuffle(_mm256_unpackhi_epi64(first, second)));
    }
};

// Groups of V vectors, then single vectors; returns the units done, the
// remainder (under eight units) being the caller's.
template <int V, bool Encrypt>
TARNU_AVX2 __attribute__((flatten)) size_t Avx2Blocks(const uint32_t* km, const uint32_t* kr,
                                                      uint8_t* data, size_t units) {
    const size_t done = CipherGroups<Avx2Ops, V, Encrypt>(km, kr, data, units);
    return done + CipherGroups<Avx2Ops, 1, Encrypt>(km, kr, data + 8 * done, units - done);
}

}  // namespace cast128
