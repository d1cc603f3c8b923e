#pragma once
// CAST-128 on AVX2 vectors of eight units: the table look-ups become gathers.
// Everything here is compiled for AVX2 by function attribute alone, so the
// rest of the build keeps its flags; only a CPU that has AVX2 may run it
// (crypto/cast128_kernels.cpp decides).

#include "crypto/cast128_rounds.h"
#include "crypto/vector_intrinsics.h"

#define TARNU_AVX2 __attribute__((target("avx2")))

namespace cast128 {

// Vectors per group, the fastest that tests/bench/kernel_widths measured for
// x86-64 code; wider groups only spill. i686 code, with eight vector
// registers, keeps the same; it could be measured only under emulation here.
inline constexpr int kAvx2Vectors = 2;

// Not forced inline: the generic templates that call these have no AVX2, and
// only flattening them into an AVX2 kernel (Avx2Blocks) joins the two. The
// vectors are wrapped in structs, since compilers reject or warn about bare
// vectors passed by value between such code and these functions.
struct Avx2Ops {
    struct Word {
        __m256i v;
    };
    struct Count {
        __m128i left, right;
    };
    static constexpr int kUnits = 8;

    TARNU_AVX2 static Word Broadcast(uint32_t v) { return {_mm256_set1_epi32(int(v))}; }
    // A shift by 32 gives 0, so a rotation by 0 needs no special case.
    TARNU_AVX2 static Count RotationCount(uint32_t n) {
        return {_mm_cvtsi32_si128(int(n)), _mm_cvtsi32_si128(int(32 - n))};
    }
    TARNU_AVX2 static Word Rotate(Word x, Count n) {
        return {_mm256_or_si256(_mm256_sll_epi32(x.v, n.left), _mm256_srl_epi32(x.v, n.right))};
    }
    TARNU_AVX2 static Word Add(Word a, Word b) { return {_mm256_add_epi32(a.v, b.v)}; }
    TARNU_AVX2 static Word Sub(Word a, Word b) { return {_mm256_sub_epi32(a.v, b.v)}; }
    TARNU_AVX2 static Word Xor(Word a, Word b) { return {_mm256_xor_si256(a.v, b.v)}; }
    template <int Shift>
    TARNU_AVX2 static Word Byte(Word x) {
        const __m256i shifted = _mm256_srli_epi32(x.v, Shift);
        if constexpr (Shift == 24) return {shifted};
        return {_mm256_and_si256(shifted, _mm256_set1_epi32(0xFF))};
    }
    template <int Box>
    TARNU_AVX2 static Word Look(Word i) {
        return {_mm256_i32gather_epi32(reinterpret_cast<const int*>(kRoundBoxes[Box]), i.v, 4)};
    }

    // Within each 128-bit lane: words 0, 2, 1, 3, each byte-swapped. Its own
    // inverse, so it serves loads and stores alike.
    TARNU_AVX2 static __m256i Shuffle(__m256i v) {
        const __m256i order =
            _mm256_setr_epi8(3, 2, 1, 0, 11, 10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12, 3, 2, 1, 0, 11,
                             10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12);
        return _mm256_shuffle_epi8(v, order);
    }
    // Eight units: the left halves into l, the right into r, in one order
    // that Store undoes.
    TARNU_AVX2 static void Load(const uint8_t* p, Word& l, Word& r) {
        const __m256i a = Shuffle(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        const __m256i b = Shuffle(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32)));
        l.v = _mm256_unpacklo_epi64(a, b);
        r.v = _mm256_unpackhi_epi64(a, b);
    }
    TARNU_AVX2 static void Store(uint8_t* p, Word first, Word second) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p),
                            Shuffle(_mm256_unpacklo_epi64(first.v, second.v)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 32),
                            Shuffle(_mm256_unpackhi_epi64(first.v, second.v)));
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
