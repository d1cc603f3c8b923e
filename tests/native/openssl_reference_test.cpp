// Our cipher and digest against OpenSSL's, an independent implementation,
// over many random keys, blocks and passwords.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <gtest/gtest.h>
#include <openssl/cast.h>
#include <openssl/sha.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "crypto/cast128.h"
#include "crypto/password_check.h"
#include "tests/support/each_kernel.h"

namespace {

std::string RandomPassword(std::mt19937& rng, size_t length) {
    std::string password;
    for (size_t i = 0; i < length; ++i) password += char(1 + rng() % 255);  // any byte but zero
    return password;
}

TEST(OpenSslReference, CipherAgreesForPasswordsOfEveryLength) {
    std::mt19937 rng(2026);
    for (size_t length = 0; length <= 20; ++length) {
        for (int trial = 0; trial < 200; ++trial) {
            const std::string password = RandomPassword(rng, length);
            Cast128 ours;
            ours.SetKey(password);
            CAST_KEY theirs;
            CAST_set_key(&theirs, 16, ours.Key());  // always the zero-filled 16 bytes
            uint8_t in[8], a[8], b[8], back[8];
            for (auto& v : in) v = uint8_t(rng());
            ours.EncryptBlock(a, in);
            CAST_ecb_encrypt(in, b, &theirs, CAST_ENCRYPT);
            ASSERT_EQ(0, memcmp(a, b, 8)) << "password length " << length;
            ours.DecryptBlock(back, b);
            ASSERT_EQ(0, memcmp(back, in, 8));
        }
    }
}

// Every kernel the CPU runs, on runs of every length up to 4 KiB and one of
// 1 MiB, at every alignment, against OpenSSL one block at a time; every
// fourth key has zero bytes from a random point, as a short password gives.
TEST(OpenSslReference, BulkCipherAgreesOnRandomRunsThroughEveryKernel) {
    ForEachKernel([](Cast128Kernel kernel) {
        std::mt19937 rng(144);
        for (int trial = 0; trial <= 300; ++trial) {
            uint8_t key[16];
            for (auto& k : key) k = uint8_t(rng());
            if (trial % 4 == 0) std::fill(key + rng() % 16, key + 16, 0);
            Cast128 ours;
            ours.SetKeyBytes(key);
            CAST_KEY theirs;
            CAST_set_key(&theirs, 16, key);
            const size_t units = trial < 40 ? size_t(trial) : trial < 300 ? rng() % 513 : 131072;
            const size_t offset = size_t(trial) % 8;
            std::vector<uint8_t> plain(offset + 8 * units);
            for (auto& v : plain) v = uint8_t(rng());

            std::vector<uint8_t> a = plain, b = plain;
            ours.EncryptBlocksWith(kernel, a.data() + offset, units);
            for (size_t i = offset; i < b.size(); i += 8) {
                CAST_ecb_encrypt(&b[i], &b[i], &theirs, CAST_ENCRYPT);
            }
            ASSERT_TRUE(a == b) << units << " units at offset " << offset;
            ours.DecryptBlocksWith(kernel, a.data() + offset, units);
            ASSERT_TRUE(a == plain) << units << " units at offset " << offset;
        }
    });
}

TEST(OpenSslReference, CheckValueIsDigestOfTenCopies) {
    std::mt19937 rng(180);
    for (size_t length = 0; length <= 70; ++length) {
        const std::string password = RandomPassword(rng, length);
        std::string ten;
        for (int i = 0; i < 10; ++i) ten += password;
        uint8_t expected[20];
        SHA1(reinterpret_cast<const uint8_t*>(ten.data()), ten.size(), expected);
        const auto value = ComputePasswordCheckValue(password);
        ASSERT_EQ(0, memcmp(value.data(), expected, 20)) << "password length " << length;
    }
}

}  // namespace
