#include "crypto/sha1.h"

#include <gtest/gtest.h>

#include "crypto/password_check.h"
#include "tests/support/vector_file.h"

namespace {

TEST(Sha1, KnownAnswers) {
    const auto records = ReadVectorFile("sha1.vec");
    ASSERT_GE(records.size(), 10u);
    for (const auto& r : records) {
        SCOPED_TRACE(r.at("In") + " x" + r.at("Repeat"));
        const auto in = FromHex(r.at("In"));
        Sha1Context sha1;
        sha1.repeatCount = uint32_t(std::stoul(r.at("Repeat")));
        uint8_t out[20];
        size_t length = sizeof out;
        ASSERT_EQ(sha1.ComputeDigest(out, &length, in.data(), in.size()), 20u);
        EXPECT_EQ(length, 20u);
        EXPECT_EQ(ToHex(out, 20), r.at("Out"));
        if (sha1.repeatCount == 10) {
            const auto value = ComputePasswordCheckValue(std::string(in.begin(), in.end()));
            EXPECT_EQ(ToHex(value.data(), value.size()), r.at("Out"));
        }
    }
}

TEST(Sha1, RefusesShortOutputAndCanBeReused) {
    Sha1Context sha1;
    sha1.repeatCount = 1;
    uint8_t out[20] = {};
    size_t length = 19;
    EXPECT_EQ(sha1.ComputeDigest(out, &length, reinterpret_cast<const uint8_t*>("abc"), 3), 0u);
    EXPECT_EQ(length, 19u);
    length = 20;
    sha1.ComputeDigest(out, &length, reinterpret_cast<const uint8_t*>("xyz"), 3);
    sha1.ComputeDigest(out, &length, reinterpret_cast<const uint8_t*>("abc"), 3);
    EXPECT_EQ(ToHex(out, 20), "A9993E364706816ABA3E25717850C26C9CD0D89D");
}

TEST(PasswordCheck, UsesEveryByteUnlikeTheCipherKey) {
    EXPECT_NE(ComputePasswordCheckValue("0123456789abcdefX"),
              ComputePasswordCheckValue("0123456789abcdefY"));
}

}  // namespace
