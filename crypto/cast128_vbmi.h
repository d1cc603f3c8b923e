#pragma once
// CAST-128 on AVX-512 with VBMI, sixty-four units to a batch, without gathers:
// each S-box is kept as four planes of 256 bytes (crypto/cast128_box_planes.h)
// and one byte of sixty-four entries is looked up by two two-table byte
// permutes of 128 entries each, then a blend on the index's top bit. The
// look-ups want the round's index bytes sliced, byte k of all sixty-four
// units in one vector. The halves stay words, so that additions,
// subtractions and rotations stay one instruction each: each round slices its
// index and joins the S-box bytes back into words with in-lane shuffles.
// Compiled for AVX-512F, BW and VBMI by function attribute alone; only a CPU
// that has all three may run it (crypto/cast128_kernels.cpp decides).

#include <type_traits>

#include "crypto/cast128_avx512.h"
#include "crypto/cast128_box_planes.h"
#include "crypto/cast128_rounds.h"
#include "crypto/vector_intrinsics.h"

#define TARNU_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

namespace cast128 {

// Batches of sixty-four units per group, the fastest that
// tests/bench/kernel_widths measured: two already spill. i686 code has eight
// vector registers, too few for one batch's halves, so it spills; the timed
// choice decides whether it still pays there.
inline constexpr int kVbmiBatches = 1;

// One half of sixty-four units as words. Word i of lane q of v[m] belongs to
// unit 16q + 4m + i of the batch in the order that Avx512Ops::Load gives;
// ToPlanes and ToWords keep to the same order, so it never has to be undone.
struct VbmiWords {
    __m512i v[4];
};
// Byte k of sixty-four words in v[k], in the unit order above.
struct VbmiPlanes {
    __m512i v[4];
};

template <int G>
struct VbmiHalf {
    VbmiWords batch[G];
};

struct VbmiOps {
    // Sixty-four words into their four byte planes: each 128-bit lane's words
    // into byte order, then a 4x4 transpose of those dwords.
    TARNU_VBMI static VbmiPlanes ToPlanes(const VbmiWords& w) {
        const __m512i order = _mm512_broadcast_i32x4(
            _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15));
        const __m512i u0 = _mm512_shuffle_epi8(w.v[0], order);
        const __m512i u1 = _mm512_shuffle_epi8(w.v[1], order);
        const __m512i u2 = _mm512_shuffle_epi8(w.v[2], order);
        const __m512i u3 = _mm512_shuffle_epi8(w.v[3], order);
        const __m512i t0 = _mm512_unpacklo_epi32(u0, u1);
        const __m512i t1 = _mm512_unpackhi_epi32(u0, u1);
        const __m512i t2 = _mm512_unpacklo_epi32(u2, u3);
        const __m512i t3 = _mm512_unpackhi_epi32(u2, u3);
        return {{_mm512_unpacklo_epi64(t0, t2), _mm512_unpackhi_epi64(t0, t2),
                 _mm512_unpacklo_epi64(t1, t3), _mm512_unpackhi_epi64(t1, t3)}};
    }
    // The inverse: bytes 0 and 1, and 2 and 3, interleaved into 16-bit
    // halves, then the halves into words.
    TARNU_VBMI static VbmiWords ToWords(const VbmiPlanes& p) {
        const __m512i low01 = _mm512_unpacklo_epi8(p.v[0], p.v[1]);
        const __m512i high01 = _mm512_unpackhi_epi8(p.v[0], p.v[1]);
        const __m512i low23 = _mm512_unpacklo_epi8(p.v[2], p.v[3]);
        const __m512i high23 = _mm512_unpackhi_epi8(p.v[2], p.v[3]);
        return {{_mm512_unpacklo_epi16(low01, low23), _mm512_unpackhi_epi16(low01, low23),
                 _mm512_unpacklo_epi16(high01, high23), _mm512_unpackhi_epi16(high01, high23)}};
    }

    // Byte `plane` of S-box `box` at sixty-four indices: entries 0..127 and
    // 128..255 by one permute each, chosen by the index's top bit (`high`).
    TARNU_VBMI static __m512i LookPlane(const uint8_t* plane, __m512i index, __mmask64 high) {
        const __m512i* t = reinterpret_cast<const __m512i*>(plane);
        const __m512i low =
            _mm512_permutex2var_epi8(_mm512_load_si512(t), index, _mm512_load_si512(t + 1));
        const __m512i upper =
            _mm512_permutex2var_epi8(_mm512_load_si512(t + 2), index, _mm512_load_si512(t + 3));
        return _mm512_mask_blend_epi8(high, low, upper);
    }
    template <int Box>
    TARNU_VBMI static VbmiPlanes Look(const uint8_t* planes, __m512i index) {
        const __mmask64 high = _mm512_movepi8_mask(index);
        const uint8_t* box = planes + kPlaneBytes * 4 * Box;
        return {{LookPlane(box, index, high), LookPlane(box + kPlaneBytes, index, high),
                 LookPlane(box + 2 * kPlaneBytes, index, high),
                 LookPlane(box + 3 * kPlaneBytes, index, high)}};
    }

    template <int Op>  // 0 add, 1 subtract, 2 exclusive or
    TARNU_VBMI static VbmiWords Combine(const VbmiWords& a, const VbmiWords& b) {
        VbmiWords out;
#pragma GCC unroll 16
        for (int m = 0; m < 4; ++m) {
            if constexpr (Op == 0) out.v[m] = _mm512_add_epi32(a.v[m], b.v[m]);
            if constexpr (Op == 1) out.v[m] = _mm512_sub_epi32(a.v[m], b.v[m]);
            if constexpr (Op == 2) out.v[m] = _mm512_xor_si512(a.v[m], b.v[m]);
        }
        return out;
    }

    // to ^= f(from) for one batch, RFC 2144 section 2.2. An exclusive or of
    // two look-ups is the same on planes as on words, which saves joining
    // one of them.
    template <int Type>
    TARNU_VBMI static void XorRoundF(VbmiWords& to, const VbmiWords& from, __m512i km, __m512i kr,
                                     const uint8_t* planes) {
        constexpr int kFirst = Type == 1 ? 2 : Type == 2 ? 1 : 0;
        constexpr int kSecond = Type == 1 ? 1 : Type == 2 ? 0 : 2;
        constexpr int kThird = Type == 1 ? 0 : Type == 2 ? 2 : 1;
        VbmiWords index;
#pragma GCC unroll 16
        for (int m = 0; m < 4; ++m) {
            __m512i i;
            if constexpr (Type == 1) i = _mm512_add_epi32(km, from.v[m]);
            if constexpr (Type == 2) i = _mm512_xor_si512(km, from.v[m]);
            if constexpr (Type == 3) i = _mm512_sub_epi32(km, from.v[m]);
            index.v[m] = _mm512_rolv_epi32(i, kr);
        }
        const VbmiPlanes bytes = ToPlanes(index);
        const VbmiPlanes a = Look<0>(planes, bytes.v[3]);
        const VbmiPlanes b = Look<1>(planes, bytes.v[2]);
        VbmiWords f;
        if constexpr (kFirst == 2) {
            VbmiPlanes ab;
#pragma GCC unroll 16
            for (int k = 0; k < 4; ++k) ab.v[k] = _mm512_xor_si512(a.v[k], b.v[k]);
            f = ToWords(ab);
        } else {
            f = Combine<kFirst>(ToWords(a), ToWords(b));
        }
        f = Combine<kSecond>(f, ToWords(Look<2>(planes, bytes.v[1])));
        f = Combine<kThird>(f, ToWords(Look<3>(planes, bytes.v[0])));
#pragma GCC unroll 16
        for (int m = 0; m < 4; ++m) to.v[m] = _mm512_xor_si512(to.v[m], f.v[m]);
    }
};

// One round over every batch of a group, for SixteenRounds.
template <int G>
struct VbmiRound {
    const uint32_t* km;
    const uint32_t* kr;
    const uint8_t* planes;

    template <int Type>
    TARNU_VBMI void operator()(std::integral_constant<int, Type>, VbmiHalf<G>& to,
                               const VbmiHalf<G>& from, int i) const {
        const __m512i m = _mm512_set1_epi32(int(km[i]));
        const __m512i r = _mm512_set1_epi32(int(kr[i]));
#pragma GCC unroll 16
        for (int g = 0; g < G; ++g) {
            VbmiOps::XorRoundF<Type>(to.batch[g], from.batch[g], m, r, planes);
        }
    }
};

// G batches of sixty-four units in place; Avx512Ops loads and stores sixteen
// units at a time.
template <int G, bool Encrypt>
TARNU_VBMI void VbmiGroup(const uint32_t* km, const uint32_t* kr, const uint8_t* planes,
                          uint8_t* data) {
    VbmiHalf<G> l, r;
#pragma GCC unroll 16
    for (int g = 0; g < G; ++g) {
#pragma GCC unroll 16
        for (int m = 0; m < 4; ++m) {
            Avx512Ops::Word left, right;
            Avx512Ops::Load(data + 512 * g + 128 * m, left, right);
            l.batch[g].v[m] = left.v;
            r.batch[g].v[m] = right.v;
        }
    }
    SixteenRounds<Encrypt>(l, r, VbmiRound<G>{km, kr, planes});
#pragma GCC unroll 16
    for (int g = 0; g < G; ++g) {
#pragma GCC unroll 16
        for (int m = 0; m < 4; ++m) {
            Avx512Ops::Store(data + 512 * g + 128 * m, {r.batch[g].v[m]}, {l.batch[g].v[m]});
        }
    }
}

// Groups of G batches, then single batches; returns the units done, the
// remainder (under sixty-four units) being the caller's.
template <int G, bool Encrypt>
TARNU_VBMI __attribute__((flatten)) size_t VbmiBlocks(const uint32_t* km, const uint32_t* kr,
                                                      uint8_t* data, size_t units) {
    const uint8_t* planes = RoundBoxPlanes();
    size_t done = 0;
    for (; units - done >= 64 * size_t(G); done += 64 * G) {
        VbmiGroup<G, Encrypt>(km, kr, planes, data + 8 * done);
    }
    for (; units - done >= 64; done += 64) VbmiGroup<1, Encrypt>(km, kr, planes, data + 8 * done);
    return done;
}

}  // namespace cast128
