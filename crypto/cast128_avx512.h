#pragma once
// CAST-128 on AVX-512 vectors of sixteen units: gathers for the table
// look-ups, one instruction for each rotation. Compiled for AVX-512F and BW
// (for the byte shuffle) by function attribute alone, so the rest of the
// build keeps its flags; only a CPU that has both may run it
// (crypto/cast128_kernels.cpp decides).

#include "crypto/cast128_rounds.h"
#include "crypto/vector_intrinsics.h"

#define TARNU_AVX512 __attribute__((target("avx512f,avx512bw")))

namespace cast128 {

// Vectors per group. Where gathers are fast (Xeons with AVX-512 but no VBMI,
// which take this kernel) eight reach the gather limit; on the AMD cores
// measured here every width from two up is alike. An i686 build has only
// eight vector registers, so a narrower group; its width could be measured
// only under emulation here.
#if defined(__x86_64__)
inline constexpr int kAvx512Vectors = 8;
#else
inline constexpr int kAvx512Vectors = 2;
#endif

// Not forced inline: the generic templates that call these have no AVX-512,
// and only flattening them into an AVX-512 kernel (Avx512Blocks) joins the
// two. The vectors are wrapped in a struct, since compilers reject or warn
// about bare vectors passed by value between such code and these functions.
struct Avx512Ops {
    struct Word {
        __m512i v;
    };
    using Count = Word;
    static constexpr int kUnits = 16;

    TARNU_AVX512 static Word Broadcast(uint32_t v) { return {_mm512_set1_epi32(int(v))}; }
    TARNU_AVX512 static Count RotationCount(uint32_t n) { return Broadcast(n); }
    TARNU_AVX512 static Word Rotate(Word x, Count n) { return {_mm512_rolv_epi32(x.v, n.v)}; }
    TARNU_AVX512 static Word Add(Word a, Word b) { return {_mm512_add_epi32(a.v, b.v)}; }
    TARNU_AVX512 static Word Sub(Word a, Word b) { return {_mm512_sub_epi32(a.v, b.v)}; }
    TARNU_AVX512 static Word Xor(Word a, Word b) { return {_mm512_xor_si512(a.v, b.v)}; }
    template <int Shift>
    TARNU_AVX512 static Word Byte(Word x) {
        const __m512i shifted = _mm512_srli_epi32(x.v, Shift);
        if constexpr (Shift == 24) return {shifted};
        return {_mm512_and_si512(shifted, _mm512_set1_epi32(0xFF))};
    }
    template <int Box>
    TARNU_AVX512 static Word Look(Word i) {
        return {_mm512_i32gather_epi32(i.v, kRoundBoxes[Box], 4)};
    }

    // Within each 128-bit lane: words 0, 2, 1, 3, each byte-swapped. Its own
    // inverse, so it serves loads and stores alike.
    TARNU_AVX512 static __m512i Shuffle(__m512i v) {
        const __m512i order = _mm512_broadcast_i32x4(
            _mm_setr_epi8(3, 2, 1, 0, 11, 10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12));
        return _mm512_shuffle_epi8(v, order);
    }
    // Sixteen units: the left halves into l, the right into r, in one order
    // that Store undoes.
    TARNU_AVX512 static void Load(const uint8_t* p, Word& l, Word& r) {
        const __m512i a = Shuffle(_mm512_loadu_si512(p));
        const __m512i b = Shuffle(_mm512_loadu_si512(p + 64));
        l.v = _mm512_unpacklo_epi64(a, b);
        r.v = _mm512_unpackhi_epi64(a, b);
    }
    TARNU_AVX512 static void Store(uint8_t* p, Word first, Word second) {
        _mm512_storeu_si512(p, Shuffle(_mm512_unpacklo_epi64(first.v, second.v)));
        _mm512_storeu_si512(p + 64, Shuffle(_mm512_unpackhi_epi64(first.v, second.v)));
    }
};

// Groups of V vectors, then single vectors; returns the units done, the
// remainder (under sixteen units) being the caller's.
template <int V, bool Encrypt>
TARNU_AVX512 __attribute__((flatten)) size_t Avx512Blocks(const uint32_t* km, const uint32_t* kr,
                                                          uint8_t* data, size_t units) {
    const size_t done = CipherGroups<Avx512Ops, V, Encrypt>(km, kr, data, units);
    return done + CipherGroups<Avx512Ops, 1, Encrypt>(km, kr, data + 8 * done, units - done);
}

}  // namespace cast128
