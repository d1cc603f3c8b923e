#include "crypto/cast128.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "tests/support/vector_file.h"

namespace {

std::string AsText(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

void KeyFromRecord(Cast128& cipher, const VectorRecord& r) {
    if (r.count("Key")) {
        cipher.SetKeyBytes(FromHex(r.at("Key")).data());
    } else {
        cipher.SetKey(AsText(FromHex(r.at("Password"))));
    }
}

TEST(Cast128, KnownAnswers) {
    const auto records = ReadVectorFile("cast128.vec");
    ASSERT_GE(records.size(), 24u);
    for (const auto& r : records) {
        SCOPED_TRACE(r.count("Key") ? r.at("Key") : "password " + r.at("Password"));
        Cast128 cipher;
        KeyFromRecord(cipher, r);
        const auto in = FromHex(r.at("In"));
        uint8_t out[8], back[8];
        cipher.EncryptBlock(out, in.data());
        EXPECT_EQ(ToHex(out, 8), ToHex(FromHex(r.at("Out"))));
        cipher.DecryptBlock(back, out);
        EXPECT_EQ(ToHex(back, 8), ToHex(in));
    }
}

// RFC 2144 B.2: a million rounds of mutual re-keying. Its keys hold zero
// bytes, so they go through the raw key schedule.
TEST(Cast128, MaintenanceTest) {
    auto a = FromHex("0123456712345678234567893456789A");
    auto b = a;
    Cast128 cipher;
    for (int i = 0; i < 1000000; ++i) {
        cipher.SetKeyBytes(b.data());
        cipher.EncryptBlock(&a[0], &a[0]);
        cipher.EncryptBlock(&a[8], &a[8]);
        cipher.SetKeyBytes(a.data());
        cipher.EncryptBlock(&b[0], &b[0]);
        cipher.EncryptBlock(&b[8], &b[8]);
    }
    EXPECT_EQ(ToHex(a), "EEA9D0A249FD3BA6B3436FB89D6DCA92");
    EXPECT_EQ(ToHex(b), "B2C95EB00C31AD7180AC05B8E83D696E");
}

TEST(Cast128, PasswordBecomesZeroFilledKey) {
    Cast128 cipher;
    cipher.SetKey("");
    EXPECT_EQ(ToHex(cipher.Key(), 16), std::string(32, '0'));

    cipher.SetKey(std::string("ab\0cd", 5));  // stops at the first zero byte
    EXPECT_EQ(ToHex(cipher.Key(), 16), "6162" + std::string(28, '0'));

    Cast128 longer, first16;
    longer.SetKey("0123456789abcdefTAIL");
    first16.SetKey("0123456789abcdef");
    const uint8_t block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t x[8], y[8];
    longer.EncryptBlock(x, block);
    first16.EncryptBlock(y, block);
    EXPECT_EQ(ToHex(x, 8), ToHex(y, 8));
}

TEST(Cast128, InPlaceEqualsSeparateBuffers) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 100; ++trial) {
        uint8_t key[16], block[8], separate[8], back[8];
        for (auto& k : key) k = uint8_t(rng());
        for (auto& v : block) v = uint8_t(rng());
        Cast128 cipher;
        cipher.SetKeyBytes(key);
        cipher.EncryptBlock(separate, block);
        uint8_t inPlace[8];
        std::memcpy(inPlace, block, 8);
        cipher.EncryptBlock(inPlace, inPlace);
        ASSERT_EQ(ToHex(inPlace, 8), ToHex(separate, 8));
        cipher.DecryptBlock(inPlace, inPlace);
        cipher.DecryptBlock(back, separate);
        ASSERT_EQ(ToHex(inPlace, 8), ToHex(block, 8));
        ASSERT_EQ(ToHex(back, 8), ToHex(block, 8));
    }
}

}  // namespace
