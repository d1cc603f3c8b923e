// Jobs on a drive with only a few KiB left, which disk_full.sh mounts: every
// file that does not fit is reported once as an error, its original stays as
// it was, and nothing of its output remains.
#include <algorithm>
#include <cstdlib>

#include "tests/support/cpy_samples.h"
#include "tests/wine/job_rig.h"

namespace {

constexpr uint64_t kSlack = 16 << 10;

uint64_t FreeBytes(const std::string& root) {
    ULARGE_INTEGER free = {};
    EXPECT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &free, nullptr, nullptr)) << root;
    return free.QuadPart;
}

// Takes all but about kSlack of the drive's free space.
void Fill(const std::string& root) {
    const uint64_t free = FreeBytes(root);
    ASSERT_GT(free, 2 * kSlack);
    Win32FileSystem fs;
    std::unique_ptr<File> filler = fs.Create(root + "filler");
    ASSERT_TRUE(filler);
    const std::vector<uint8_t> zeros(1 << 16);
    for (uint64_t left = free - kSlack; left > 0;) {
        const size_t piece = size_t(std::min<uint64_t>(zeros.size(), left));
        ASSERT_TRUE(filler->Write(zeros.data(), piece));
        left -= piece;
    }
    ASSERT_TRUE(filler->Close());
}

class DiskFullTest : public JobRig {
  protected:
    void SetUp() override {
        const char* drive = std::getenv("TARNU_FULL_DRIVE");
        ASSERT_NE(drive, nullptr) << "run through disk_full.sh, which mounts a small drive";
        root = std::string(drive) + "\\";
    }

    void MakeFiles() {
        CreateDirectoryA((root + "plain").c_str(), nullptr);
        WriteWholeFile(root + "plain\\a.bin", PatternSource(300001));
        WriteWholeFile(root + "plain\\b.bin", PatternSource((1 << 20) + 5));
        WriteWholeFile(root + "plain\\c.txt", PatternSource((2 << 20) + 7));
        ASSERT_TRUE(fs.SetAttributes(root + "plain\\c.txt", attr::kReadOnly | attr::kArchive));
        Cast128 cipher;
        cipher.SetKey(password);
        CreateDirectoryA((root + "cpy").c_str(), nullptr);
        WriteWholeFile(root + "cpy\\D.cpy", BuildImage(cipher, "d.bin", PatternSource(700000)));
        WriteWholeFile(root + "cpy\\E.cpy", BuildImage(cipher, "e.bin", PatternSource(3 << 19)));
    }

    std::string root;
};

TEST_F(DiskFullTest, FilesThatDoNotFitStayAsTheyWere) {
    MakeFiles();
    Fill(root);
    const uint64_t free = FreeBytes(root);
    ASSERT_LE(free, 2 * kSlack);
    worker.Processor().writeReadOnly = true;
    for (const auto& [kind, folder] :
         {std::pair{kJobEncrypt, root + "plain"}, std::pair{kJobDecrypt, root + "cpy"}}) {
        SCOPED_TRACE(folder);
        const auto before = Snapshot(folder);
        RunJob(kind, folder);
        std::vector<std::string> expected;
        for (const auto& entry : before)
            expected.push_back(Line("error", "error_write_file", entry.first));
        std::sort(owner.reports.begin(), owner.reports.end());
        EXPECT_EQ(owner.reports, expected);
        EXPECT_TRUE(Snapshot(folder) == before);
        EXPECT_EQ(FreeBytes(root), free);  // no output left, open or hidden
    }
}

}  // namespace
