// Fails every I/O call of an encryption and a decryption in turn, with every
// kind of fault, and checks after each that no data was lost: either the
// original is as it was, or its counterpart is complete; never a partial
// output, never a silent failure.
#include <gtest/gtest.h>

#include "tests/support/fault_kinds.h"
#include "tests/support/processor_rig.h"

namespace {

// Four chunks: with three in flight, a call fails while others are read
// ahead of it, and once reading has caught up with the writes (R3 after W0).
constexpr uint64_t kSourceLength = 3 * kMiB + 13;

TEST(FaultSweep, Encryption) {
    const auto content = PatternSource(kSourceLength);
    const auto complete = Encrypted(content);
    for (const FsFault fault : kAllFaults) {
        for (uint64_t n = 1;; ++n) {
            SCOPED_TRACE(FaultTrace(fault, n));
            Rig r;
            r.fs.AddFile(kSource, content, attr::kReadOnly);
            r.processor.writeReadOnly = r.processor.wipeZero = r.processor.wipeRandom = true;
            r.fs.FailCall(n, fault);
            r.processor.EncryptFile(kSource, kOutput);
            if (r.fs.CallCount() < n) break;  // every call has had its turn

            EXPECT_EQ(r.fs.OpenHandleCount(), 0);
            if (r.fs.Exists(kOutput)) {
                ASSERT_TRUE(r.fs.Contents(kOutput) == complete);
                EXPECT_EQ(r.fs.Status(kOutput).attributes, attr::kReadOnly);
                const bool sourceGone = r.fs.AllPaths() == Sorted({"C:\\data", kOutput});
                EXPECT_EQ(r.lines.size(), sourceGone ? 0u : 1u);
            } else {
                EXPECT_EQ(r.fs.AllPaths(), Sorted({"C:\\data", kSource}));
                EXPECT_TRUE(r.fs.Contents(kSource) == content);
                EXPECT_EQ(r.fs.Status(kSource).attributes, attr::kReadOnly);
                EXPECT_EQ(r.lines.size(), 1u);
            }
        }
    }
}

TEST(FaultSweep, Decryption) {
    const auto content = PatternSource(kSourceLength);
    const auto image = Encrypted(content);
    const std::string restored = "C:\\data\\report.txt";
    for (const FsFault fault : kAllFaults) {
        for (uint64_t n = 1;; ++n) {
            SCOPED_TRACE(FaultTrace(fault, n));
            Rig r;
            r.fs.AddFile(kOutput, image, attr::kReadOnly | attr::kHidden);
            r.processor.writeReadOnly = true;
            r.fs.FailCall(n, fault);
            r.processor.DecryptFile(kOutput);
            if (r.fs.CallCount() < n) break;

            EXPECT_EQ(r.fs.OpenHandleCount(), 0);
            if (r.fs.Exists(restored)) {
                EXPECT_EQ(r.fs.AllPaths(), Sorted({"C:\\data", restored}));
                ASSERT_TRUE(r.fs.Contents(restored) == content);
                EXPECT_EQ(r.fs.Status(restored).attributes, attr::kReadOnly | attr::kHidden);
                EXPECT_TRUE(r.lines.empty());
            } else {
                EXPECT_EQ(r.fs.AllPaths(), Sorted({"C:\\data", kOutput}));
                EXPECT_TRUE(r.fs.Contents(kOutput) == image);
                EXPECT_EQ(r.fs.Status(kOutput).attributes, attr::kReadOnly | attr::kHidden);
                EXPECT_EQ(r.lines.size(), 1u);
            }
        }
    }
}

}  // namespace
