// A file of 4 GiB and 13 bytes through FileProcessor both ways: sizes and
// counts must keep all 64 bits, in the 32-bit builds too. Neither file is
// ever whole in memory or on disk: the source and its ".cpy" image are
// computed from their offsets, and every write is compared with them as it
// comes.
#include <gtest/gtest.h>

#include <random>

#include "fileops/cpy_layout.h"
#include "tests/support/processor_rig.h"
#include "tests/support/repeating_file.h"

namespace {

const uint64_t kSize = (uint64_t(1) << 32) + 13;
// A prime number of units repeats, so 2^32 bytes is no whole number of runs:
// an offset cut to 32 bits would land elsewhere in the run.
const size_t kRunUnits = 4099;

RepeatingContent Split(const std::vector<uint8_t>& bytes, size_t head, uint64_t size) {
    return {{bytes.begin(), bytes.begin() + head}, {bytes.begin() + head, bytes.end()}, size};
}

void ExpectWritten(const WriteCheck& check, uint64_t size) {
    EXPECT_EQ(check.written, size);
    EXPECT_EQ(check.firstDifference, WriteCheck::kNone) << "first wrong byte";
}

TEST(FileProcessor, PastFourGibibytesBothWays) {
    BasicRig<LargeFileSystem> r;
    std::vector<uint8_t> sample(cpy::LeadCount(kSize) + 8 * kRunUnits);
    std::minstd_rand random(7);
    for (uint8_t& b : sample) b = uint8_t(random() >> 8);
    Cast128 cipher;
    cipher.SetKey("secret");
    const RepeatingContent source = Split(sample, cpy::LeadCount(kSize), kSize);
    const RepeatingContent image = Split(BuildImage(cipher, "report.txt", sample), cpy::kHeaderSize,
                                         cpy::EncryptedLength(kSize));

    r.fs.AddRepeating(kSource, source);
    WriteCheck encrypted;
    r.fs.CheckCreate("C:\\data", image, encrypted);
    r.processor.EncryptFile(kSource, kOutput);
    ASSERT_TRUE(r.lines.empty()) << r.lines[0].text;
    ExpectWritten(encrypted, image.size);
    EXPECT_EQ(r.processor.GetCounters(), image.size);
    EXPECT_FALSE(r.fs.Exists(kSource));
    EXPECT_TRUE(r.fs.Exists(kOutput));

    r.fs.AddRepeating(kOutput, image);
    WriteCheck restored;
    r.fs.CheckCreate("C:\\data", source, restored);
    r.processor.DecryptFile(kOutput);
    ASSERT_TRUE(r.lines.empty()) << r.lines[0].text;
    ExpectWritten(restored, kSize);
    EXPECT_FALSE(r.fs.Exists(kOutput));
    EXPECT_TRUE(r.fs.Exists(kSource));
}

}  // namespace
