// Bulk cipher throughput at each group width N = 1..8, to choose the width a
// target compiles in (crypto/cast128_bulk.cpp). scripts/bench runs it as
// x86-64 code and, built with -m32, as i686 code.
//
// The widths take turns, pass after pass, and each keeps its best pass:
// other load on the machine can only slow a pass down.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

#include "crypto/cast128.h"
#include "crypto/cast128_rounds.h"

namespace {

const size_t kBufferSize = 1 << 20;
const int kBuffersPerPass = 8;
const int kPasses = 40;

template <int N>
double PassRate(const Cast128& cipher, std::vector<uint8_t>& buffer) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kBuffersPerPass; ++i) {
        cipher.EncryptBlocksGrouped<N>(buffer.data(), buffer.size() / 8);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return double(kBuffersPerPass) * double(buffer.size()) / seconds.count() / 1e6;
}

template <int... N>
void Sweep(std::integer_sequence<int, N...>, const Cast128& cipher, std::vector<uint8_t>& buffer) {
    double best[] = {0, PassRate<N + 1>(cipher, buffer)...};
    for (int pass = 0; pass < kPasses; ++pass) {
        ((best[N + 1] = std::max(best[N + 1], PassRate<N + 1>(cipher, buffer))), ...);
    }
    const int widest = int(sizeof...(N));
    const int fastest = int(std::max_element(best + 1, best + widest + 1) - best);
    std::printf("bulk encryption at N units per group, MB/s, best of %d passes:\n", kPasses);
    for (int n = 1; n <= widest; ++n) std::printf("  %d: %.0f", n, best[n]);
    std::printf("\nfastest: %d units per group\ncompiled in: %d units per group\n", fastest,
                Cast128::kGroupUnits);
}

}  // namespace

int main() {
    Cast128 cipher;
    cipher.SetKey("group width");
    std::vector<uint8_t> buffer(kBufferSize);
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = uint8_t(i * 131 + 7);
    Sweep(std::make_integer_sequence<int, 8>(), cipher, buffer);
    return 0;
}
