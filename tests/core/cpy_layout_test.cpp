#include "fileops/cpy_layout.h"

#include <gtest/gtest.h>

#include "tests/support/cpy_samples.h"
#include "tests/support/vector_file.h"

namespace {

std::string AsString(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

struct Opened {
    std::string name;
    std::vector<uint8_t> content;
};

// Reads an image back the way decryption does; fails the test on a refusal.
Opened OpenImage(const Cast128& cipher, std::vector<uint8_t> image) {
    Opened result;
    EXPECT_TRUE(cpy::IsPlausibleLength(image.size()));
    EXPECT_TRUE(cpy::OpenKeyCheckBlock(cipher, &image[0]));
    result.name = cpy::OpenNameBlock(cipher, &image[16]);
    const int lead = cpy::OpenTailBlock(cipher, &image[272]);
    EXPECT_GE(lead, 0);
    if (lead < 0) return result;
    result.content.assign(image.begin() + 280 - lead, image.begin() + 280);
    cpy::DecryptUnits(cipher, image.data() + 280, image.size() - 280);
    result.content.insert(result.content.end(), image.begin() + 280, image.end());
    EXPECT_EQ(result.content.size(), cpy::SourceLength(image.size(), size_t(lead)));
    return result;
}

// Files made independently of this code: the layout must reproduce them byte
// for byte and read them back. Case 1 is the a.txt example of the layout.
TEST(CpyLayout, IndependentSampleFiles) {
    const auto cases = ReadSampleCases();
    ASSERT_EQ(cases.size(), 11u);
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(c.number));
        Cast128 cipher;
        cipher.SetKey(c.password);
        EXPECT_TRUE(BuildImage(cipher, c.name, c.source) == c.encrypted);
        const Opened opened = OpenImage(cipher, c.encrypted);
        EXPECT_EQ(opened.name, c.name);
        EXPECT_TRUE(opened.content == c.source);
    }
}

// The plaintext of the a.txt example, block by block.
TEST(CpyLayout, ExamplePlaintext) {
    const auto r = ReadVectorFile("layout.vec").at(0);
    Cast128 cipher;
    cipher.SetKey(AsString(FromHex(r.at("Password"))));
    auto image = BuildImage(cipher, r.at("Name"), FromHex(r.at("Source")));
    ASSERT_EQ(image.size(), 280u);
    cpy::DecryptUnits(cipher, image.data(), image.size());
    EXPECT_EQ(ToHex(&image[0], 16), r.at("KeyCheck"));
    EXPECT_EQ(ToHex(&image[16], 256), r.at("NameBlock"));
    EXPECT_EQ(ToHex(&image[272], 8), r.at("Tail"));
}

TEST(CpyLayout, RoundTripAtEveryRemainder) {
    Cast128 cipher;
    cipher.SetKey("pass word");
    for (size_t size : {0, 1, 6, 7, 8, 9, 15, 16, 17, 1000, 4099}) {
        SCOPED_TRACE(size);
        const auto source = PatternSource(size);
        const auto image = BuildImage(cipher, "x.bin", source);
        EXPECT_EQ(image.size() % 8, 0u);
        EXPECT_EQ(image.size(), 280 + size - size % 8);
        EXPECT_TRUE(OpenImage(cipher, image).content == source);
    }
}

TEST(CpyLayout, LengthRule) {
    EXPECT_EQ(cpy::EncryptedLength(0), 280u);
    EXPECT_EQ(cpy::EncryptedLength(7), 280u);
    EXPECT_EQ(cpy::EncryptedLength(8), 288u);
    EXPECT_EQ(cpy::EncryptedLength(1048583), 280u + 1048576u);
    const uint64_t huge = (uint64_t(1) << 32) + 13;  // sizes past 4 GiB keep all their bits
    EXPECT_EQ(cpy::EncryptedLength(huge), 280 + huge - 5);
    EXPECT_EQ(cpy::SourceLength(cpy::EncryptedLength(huge), 5), huge);
    EXPECT_FALSE(cpy::IsPlausibleLength(279));
    EXPECT_FALSE(cpy::IsPlausibleLength(281));
    EXPECT_FALSE(cpy::IsPlausibleLength(0));
    EXPECT_TRUE(cpy::IsPlausibleLength(280));
    EXPECT_FALSE(cpy::IsPlausibleLength((uint64_t(1) << 32) + 4));
    EXPECT_TRUE(cpy::IsPlausibleLength((uint64_t(1) << 32) + 280));
}

TEST(CpyLayout, WriterRefusals) {
    Cast128 cipher;
    uint8_t keyBlock[16], nameBlock[256];
    cipher.SetKey("line\nbreak");
    EXPECT_STREQ(cpy::SealKeyCheckBlock(cipher, keyBlock), "error_word");

    cipher.SetKey("fine");
    EXPECT_EQ(cpy::SealNameBlock(cipher, std::string(255, 'n'), nameBlock), nullptr);
    EXPECT_STREQ(cpy::SealNameBlock(cipher, std::string(256, 'n'), nameBlock), "error_max_path");
    EXPECT_STREQ(cpy::SealNameBlock(cipher, "a\nb.txt", nameBlock), "error_word");
}

TEST(CpyLayout, KeyCheckBlock) {
    Cast128 cipher, other;
    uint8_t block[16];
    cipher.SetKey("0123456789abcdef");  // 16 bytes: no terminator in the block
    ASSERT_EQ(cpy::SealKeyCheckBlock(cipher, block), nullptr);
    uint8_t copy[16];
    std::copy(block, block + 16, copy);
    cpy::DecryptUnits(cipher, copy, 16);
    EXPECT_EQ(std::string(copy, copy + 16), "0123456789abcdef");
    EXPECT_TRUE(cpy::OpenKeyCheckBlock(cipher, block));
    EXPECT_EQ(ToHex(block, 16), std::string(32, '0'));  // the deciphered key is not left behind

    cipher.SetKey("right");
    other.SetKey("wrong");
    ASSERT_EQ(cpy::SealKeyCheckBlock(cipher, block), nullptr);
    EXPECT_FALSE(cpy::OpenKeyCheckBlock(other, block));

    // With the RFC key every file starts with the enciphered first key half.
    cipher.SetKey(AsString(FromHex("0123456712345678234567893456789A")));
    ASSERT_EQ(cpy::SealKeyCheckBlock(cipher, block), nullptr);
    uint8_t firstHalf[8] = {0x01, 0x23, 0x45, 0x67, 0x12, 0x34, 0x56, 0x78};
    cipher.EncryptBlock(firstHalf, firstHalf);
    EXPECT_EQ(ToHex(block, 8), ToHex(firstHalf, 8));
}

TEST(CpyLayout, PasswordsSharingSixteenBytesWriteIdenticalFiles) {
    Cast128 a, b;
    a.SetKey("0123456789abcdefX");
    b.SetKey("0123456789abcdef");
    EXPECT_TRUE(BuildImage(a, "f", PatternSource(21)) == BuildImage(b, "f", PatternSource(21)));
}

TEST(CpyLayout, TailBlockReading) {
    Cast128 cipher;
    cipher.SetKey("k");
    uint8_t tail[8] = {0, 0, 0x0A, 0, 0, 0x0A, 1, 2};  // the first 0x0A counts
    cpy::EncryptUnits(cipher, tail, 8);
    EXPECT_EQ(cpy::OpenTailBlock(cipher, tail), 5);

    uint8_t damaged[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    cpy::EncryptUnits(cipher, damaged, 8);
    EXPECT_EQ(cpy::OpenTailBlock(cipher, damaged), -1);
}

TEST(CpyLayout, NameFillingTheWholeBlock) {
    Cast128 cipher;
    cipher.SetKey("k");
    uint8_t block[256];
    std::fill(block, block + 256, uint8_t('z'));
    cpy::EncryptUnits(cipher, block, 256);
    EXPECT_EQ(cpy::OpenNameBlock(cipher, block), std::string(256, 'z'));
}

}  // namespace
