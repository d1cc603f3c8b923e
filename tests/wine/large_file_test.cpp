// A file past 4 GiB through encryption and back. Sizes and offsets must keep
// all 64 bits; the source is sparse, but the ".cpy" file is really written.
// Run on demand: ctest --test-dir build -L large
#include <gtest/gtest.h>
#include <windows.h>

#include "fileops/cpy_layout.h"
#include "fileops/file_processor.h"
#include "platform/win32_file_system.h"
#include "tests/wine/temp_folder.h"

namespace {

const uint64_t kSize = (uint64_t(1) << 32) + 13;
const uint8_t kHead[] = {'h', 'e', 'a', 'd', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const uint8_t kTail[] = {'t', 'a', 'i', 'l'};

void PutBytes(File& file, uint64_t offset, const uint8_t* bytes, size_t length) {
    ASSERT_TRUE(file.Seek(offset) && file.Write(bytes, length));
}

// The whole file: zeros but for the head and tail marks.
void ExpectContent(Win32FileSystem& fs, const std::string& path) {
    std::unique_ptr<File> file = fs.OpenReadWrite(path);
    ASSERT_TRUE(file);
    uint64_t length = 0;
    ASSERT_TRUE(file->Length(&length));
    ASSERT_EQ(length, kSize);
    std::vector<uint8_t> chunk(1 << 24), expected(chunk.size());
    for (uint64_t offset = 0; offset < kSize; offset += chunk.size()) {
        size_t got = 0;
        ASSERT_TRUE(file->Read(chunk.data(), chunk.size(), &got));
        std::fill(expected.begin(), expected.end(), 0);
        if (offset == 0) std::copy(std::begin(kHead), std::end(kHead), expected.begin());
        if (offset + got == kSize)
            std::copy(std::begin(kTail), std::end(kTail), expected.begin() + got - 4);
        ASSERT_TRUE(std::equal(chunk.begin(), chunk.begin() + got, expected.begin()))
            << "at " << offset;
    }
}

TEST(LargeFile, PastFourGibibytes) {
    TempFolder dir;
    Win32FileSystem fs;
    const std::string source = dir / "huge.bin";
    {
        std::unique_ptr<File> file = fs.Create(source);
        ASSERT_TRUE(file);
        PutBytes(*file, 0, kHead, sizeof kHead);
        PutBytes(*file, kSize - sizeof kTail, kTail, sizeof kTail);
        ASSERT_TRUE(file->Close());
    }
    TextTable texts;
    FileProcessor processor(fs, texts);
    std::vector<std::string> lines;
    processor.SetReportSink([&](const std::string& line, ReportKind) { lines.push_back(line); });
    processor.SetPassword("large");

    const std::string cpyPath = dir / "LARGELARGELAR.cpy";
    processor.EncryptFile(source, cpyPath);
    ASSERT_TRUE(lines.empty()) << lines[0];
    EXPECT_EQ(processor.GetCounters(), cpy::EncryptedLength(kSize));
    FileStatus status;
    ASSERT_FALSE(fs.GetStatus(source, &status));

    processor.DecryptFile(cpyPath);
    ASSERT_TRUE(lines.empty()) << lines[0];
    EXPECT_EQ(processor.GetCounters(), cpy::EncryptedLength(kSize));
    ExpectContent(fs, source);
}

}  // namespace
