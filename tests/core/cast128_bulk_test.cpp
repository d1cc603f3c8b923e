// The bulk path against one unit at a time: the same bytes for every key,
// run length and alignment, and nothing touched outside the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "crypto/cast128.h"
#include "crypto/cast128_rounds.h"
#include "crypto/split_cipher.h"
#include "tests/support/each_kernel.h"
#include "tests/support/vector_file.h"

namespace {

const size_t kMaxUnits = 512;  // 4 KiB
const size_t kGuard = 16;      // bytes checked on either side of the run

std::vector<uint8_t> RandomBytes(std::mt19937& rng, size_t count) {
    std::vector<uint8_t> bytes(count);
    for (auto& b : bytes) b = uint8_t(rng());
    return bytes;
}

// With zeroTail, the key of a short password: zero bytes from a random point.
Cast128 RandomCipher(std::mt19937& rng, bool zeroTail = false) {
    std::vector<uint8_t> key = RandomBytes(rng, Cast128::kKeySize);
    if (zeroTail) std::fill(key.begin() + rng() % Cast128::kKeySize, key.end(), 0);
    Cast128 cipher;
    cipher.SetKeyBytes(key.data());
    return cipher;
}

// A run of `units` random units at `offset` (0..7) past an aligned start,
// between guard bytes.
struct UnitRun {
    UnitRun(std::mt19937& rng, size_t units, size_t offset)
        : bytes(RandomBytes(rng, offset + kGuard + 8 * units + kGuard)),
          start(offset + kGuard),
          units(units) {}
    uint8_t* Data() { return bytes.data() + start; }

    std::vector<uint8_t> bytes;
    size_t start, units;
};

// What one EncryptBlock (or DecryptBlock) per unit makes of the run.
UnitRun OneUnitAtATime(const Cast128& cipher, UnitRun run, bool encrypt) {
    for (size_t i = 0; i < run.units; ++i) {
        uint8_t* unit = run.Data() + 8 * i;
        encrypt ? cipher.EncryptBlock(unit, unit) : cipher.DecryptBlock(unit, unit);
    }
    return run;
}

// Both directions of a bulk operation against the one-unit path, and back.
template <typename Encrypt, typename Decrypt>
void ExpectLikeOneUnit(const Cast128& cipher, const UnitRun& plain, Encrypt encrypt,
                       Decrypt decrypt) {
    SCOPED_TRACE("units " + std::to_string(plain.units) + ", offset " +
                 std::to_string(plain.start - kGuard));
    UnitRun bulk = plain;
    encrypt(bulk.Data(), bulk.units);
    ASSERT_EQ(ToHex(bulk.bytes), ToHex(OneUnitAtATime(cipher, plain, true).bytes));
    decrypt(bulk.Data(), bulk.units);
    ASSERT_EQ(ToHex(bulk.bytes), ToHex(plain.bytes));

    UnitRun bulkDecrypted = plain;
    decrypt(bulkDecrypted.Data(), bulkDecrypted.units);
    ASSERT_EQ(ToHex(bulkDecrypted.bytes), ToHex(OneUnitAtATime(cipher, plain, false).bytes));
}

// Through every kernel the CPU runs: every short length (every remainder of
// the scalar group widths), random lengths up to 4 KiB, then 1 MiB; a new
// random key, a third of them with zero bytes, and alignment each time.
TEST(Cast128Bulk, EveryKernelMatchesOneUnitForRandomKeysLengthsAndAlignments) {
    ForEachKernel([](Cast128Kernel kernel) {
        std::mt19937 rng(99);
        for (size_t trial = 0; trial <= 400; ++trial) {
            const Cast128 cipher = RandomCipher(rng, trial % 3 == 0);
            const size_t units = trial < 64    ? trial
                                 : trial < 400 ? rng() % (kMaxUnits + 1)
                                               : 131072;
            const UnitRun plain(rng, units, trial % 8);
            ExpectLikeOneUnit(
                cipher, plain,
                [&](uint8_t* p, size_t n) { cipher.EncryptBlocksWith(kernel, p, n); },
                [&](uint8_t* p, size_t n) { cipher.DecryptBlocksWith(kernel, p, n); });
            if (::testing::Test::HasFatalFailure()) return;
        }
    });
}

// Split across two threads, around the threshold and at odd lengths, with
// one helper reused from chunk to chunk and keys changing between them; the
// kernel is the one measured fastest, as in EncryptBlocks.
TEST(Cast128Bulk, SplitAcrossCoresMatchesOneUnit) {
    std::mt19937 rng(5);
    SplitCipher split;
    const size_t edge = SplitCipher::kMinSplitUnits;
    for (size_t units : {edge - 1, edge, edge + 1, 2 * edge + 3, size_t(131072), edge + 5}) {
        const Cast128 cipher = RandomCipher(rng);
        const UnitRun plain(rng, units, units % 8);
        ExpectLikeOneUnit(
            cipher, plain, [&](uint8_t* p, size_t n) { split.EncryptBlocks(cipher, p, n); },
            [&](uint8_t* p, size_t n) { split.DecryptBlocks(cipher, p, n); });
    }
}

// Every group width, not only the one this target compiles in, so another
// choice of width is as safe as this one.
template <int N>
void CheckGroupWidth(std::mt19937& rng) {
    SCOPED_TRACE("group width " + std::to_string(N));
    for (size_t units = 0; units <= 3 * N + 1; ++units) {
        const Cast128 cipher = RandomCipher(rng);
        const UnitRun plain(rng, units, units % 8);
        ExpectLikeOneUnit(
            cipher, plain, [&](uint8_t* p, size_t n) { cipher.EncryptBlocksGrouped<N>(p, n); },
            [&](uint8_t* p, size_t n) { cipher.DecryptBlocksGrouped<N>(p, n); });
    }
}

template <int... N>
void CheckGroupWidths(std::integer_sequence<int, N...>, std::mt19937& rng) {
    (CheckGroupWidth<N + 1>(rng), ...);
}

TEST(Cast128Bulk, EveryGroupWidthMatchesOneUnit) {
    std::mt19937 rng(17);
    CheckGroupWidths(std::make_integer_sequence<int, 8>(), rng);
}

}  // namespace
