// Bulk cipher throughput at each group width, to choose the widths a target
// compiles in: the scalar kernel at N = 1..8 units per group
// (crypto/cast128_bulk.cpp), each gathering vector kernel the CPU has at
// several vectors per group (crypto/cast128_avx2.h, crypto/cast128_avx512.h),
// and the permuting one at several batches of sixty-four units
// (crypto/cast128_vbmi.h).
// scripts/bench runs it as x86-64 code and, built with -m32, as i686 code.
//
// The widths of a kernel take turns, pass after pass, and each keeps its
// best pass: other load on the machine can only slow a pass down.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "crypto/cast128.h"
#include "crypto/cast128_avx2.h"
#include "crypto/cast128_avx512.h"
#include "crypto/cast128_kernels.h"
#include "crypto/cast128_rounds.h"
#include "crypto/cast128_vbmi.h"

namespace {

const size_t kBufferSize = 1 << 20;
const int kBuffersPerPass = 8;
const int kPasses = 40;

using Pass = void (*)(uint8_t* data, size_t units);
struct Width {
    int width;
    Pass pass;
};

const Cast128& Cipher() {
    static const Cast128 cipher = [] {
        Cast128 c;
        c.SetKey("group width");
        return c;
    }();
    return cipher;
}

// The vector kernels take raw subkeys; their speed does not depend on them.
const uint32_t kMasking[16] = {
    0x9E3779B9, 0x7F4A7C15, 0xF39CC060, 0x5CEDC834, 0x1082276B, 0xF3A27251, 0xF86C6A11, 0xD0C18E95,
    0x2767F0B1, 0x53A4B0C8, 0x6B0A3A3C, 0x1D7A8B3E, 0xC4E2A6F0, 0x8B9C5D1E, 0x3F2E1D0C, 0xA5A5F0F0};
const uint32_t kRotation[16] = {5, 17, 0, 31, 12, 9, 24, 3, 16, 1, 28, 7, 20, 14, 30, 11};

template <int N>
Width Scalar() {
    return {N, [](uint8_t* d, size_t n) { Cipher().EncryptBlocksGrouped<N>(d, n); }};
}
template <int V>
Width Avx2() {
    return {V,
            [](uint8_t* d, size_t n) { cast128::Avx2Blocks<V, true>(kMasking, kRotation, d, n); }};
}
template <int V>
Width Avx512() {
    return {
        V, [](uint8_t* d, size_t n) { cast128::Avx512Blocks<V, true>(kMasking, kRotation, d, n); }};
}

template <int G>
Width Vbmi() {
    return {G,
            [](uint8_t* d, size_t n) { cast128::VbmiBlocks<G, true>(kMasking, kRotation, d, n); }};
}

double PassRate(Pass pass, std::vector<uint8_t>& buffer) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kBuffersPerPass; ++i) pass(buffer.data(), buffer.size() / 8);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return double(kBuffersPerPass) * double(buffer.size()) / seconds.count() / 1e6;
}

// Prints each width's best rate, the fastest width and the compiled-in one.
void Sweep(const char* kernel, const char* unit, const std::vector<Width>& widths, int compiledIn,
           std::vector<uint8_t>& buffer) {
    std::vector<double> best(widths.size(), 0);
    for (int pass = 0; pass < kPasses; ++pass) {
        for (size_t w = 0; w < widths.size(); ++w) {
            best[w] = std::max(best[w], PassRate(widths[w].pass, buffer));
        }
    }
    std::printf("%s bulk encryption at N %s per group, MB/s, best of %d passes:\n", kernel, unit,
                kPasses);
    for (size_t w = 0; w < widths.size(); ++w) std::printf("  %d: %.0f", widths[w].width, best[w]);
    const size_t fastest = size_t(std::max_element(best.begin(), best.end()) - best.begin());
    std::printf("\n%s fastest: %d %s per group\n%s compiled in: %d %s per group\n", kernel,
                widths[fastest].width, unit, kernel, compiledIn, unit);
}

}  // namespace

int main() {
    std::vector<uint8_t> buffer(kBufferSize);
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = uint8_t(i * 131 + 7);
    Sweep("scalar", "units",
          {Scalar<1>(), Scalar<2>(), Scalar<3>(), Scalar<4>(), Scalar<5>(), Scalar<6>(),
           Scalar<7>(), Scalar<8>()},
          Cast128::kGroupUnits, buffer);
    if (cast128::KernelSupported(Cast128Kernel::kAvx512Vbmi)) {
        Sweep("avx512vbmi", "batches", {Vbmi<1>(), Vbmi<2>()}, cast128::kVbmiBatches, buffer);
    } else {
        std::printf("avx512vbmi: not run (this CPU lacks it)\n");
    }
    if (cast128::KernelSupported(Cast128Kernel::kAvx512)) {
        Sweep("avx512", "vectors",
              {Avx512<1>(), Avx512<2>(), Avx512<4>(), Avx512<6>(), Avx512<8>(), Avx512<10>(),
               Avx512<12>()},
              cast128::kAvx512Vectors, buffer);
    } else {
        std::printf("avx512: not run (this CPU lacks it)\n");
    }
    if (cast128::KernelSupported(Cast128Kernel::kAvx2)) {
        Sweep("avx2", "vectors", {Avx2<1>(), Avx2<2>(), Avx2<3>(), Avx2<4>(), Avx2<6>(), Avx2<8>()},
              cast128::kAvx2Vectors, buffer);
    } else {
        std::printf("avx2: not run (this CPU lacks it)\n");
    }
    return 0;
}
