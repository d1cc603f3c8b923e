// FileProcessor on real files through the Win32 file API.
#include <gtest/gtest.h>
#include <windows.h>

#include "fileops/file_processor.h"
#include "platform/win32_file_system.h"
#include "tests/support/cpy_samples.h"
#include "tests/wine/temp_folder.h"

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class FileProcessorWineTest : public ::testing::Test {
  protected:
    FileProcessorWineTest() {
        texts.SetDefaults();
        processor.SetReportSink(
            [this](const std::string& line, ReportKind) { lines.push_back(line); });
        processor.SetPassword("secret");
    }

    TempFolder dir;
    Win32FileSystem fs;
    TextTable texts;
    FileProcessor processor{fs, texts};
    std::vector<std::string> lines;
};

// The files written on disk are the independently made samples, byte for
// byte, those with names of the system's code page among them: the suite runs
// under a Japanese (932) and a Western (1252) locale.
TEST_F(FileProcessorWineTest, WritesTheSampleFilesExactly) {
    int ofThisCodePage = 0;
    for (const auto& c : ReadSampleCases()) {
        const std::string source = dir / c.name;
        if (source.size() > 259) continue;  // the 255-byte name needs a shorter folder
        if (c.codePage != 0 && c.codePage != int(GetACP())) continue;
        ofThisCodePage += c.codePage != 0;
        SCOPED_TRACE("case " + std::to_string(c.number));
        WriteWholeFile(source, c.source);
        processor.SetPassword(c.password);
        processor.EncryptFile(source, dir / "ABCDEFGHIJKLM.cpy");
        EXPECT_TRUE(lines.empty());
        EXPECT_FALSE(Exists(source));
        EXPECT_TRUE(ReadWholeFile(dir / "ABCDEFGHIJKLM.cpy") == c.encrypted);

        processor.DecryptFile(dir / "ABCDEFGHIJKLM.cpy");
        EXPECT_TRUE(lines.empty());
        EXPECT_FALSE(Exists(dir / "ABCDEFGHIJKLM.cpy"));
        EXPECT_TRUE(ReadWholeFile(source) == c.source);
        DeleteFileA(source.c_str());
    }
    EXPECT_GT(ofThisCodePage, 0) << "no sample of code page " << GetACP()
                                 << ": run under LC_ALL=ja_JP.UTF-8 or en_US.UTF-8";
}

// A body long enough to be flushed in the background, alongside the writes
// on the same handle, arrives whole both ways.
TEST_F(FileProcessorWineTest, LargeBodyFlushedWhileWrittenArrivesWhole) {
    const std::string source = dir / "video.mkv";
    const auto content = PatternSource(72 * (1 << 20) + 5);
    WriteWholeFile(source, content);
    processor.EncryptFile(source, dir / "ZXCVBNMASDFGH.cpy");
    EXPECT_TRUE(lines.empty());
    processor.DecryptFile(dir / "ZXCVBNMASDFGH.cpy");
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(Exists(dir / "ZXCVBNMASDFGH.cpy"));
    EXPECT_TRUE(ReadWholeFile(source) == content);
}

// Times and attributes travel through the ".cpy" file and back, with both wipes.
TEST_F(FileProcessorWineTest, RoundTripKeepsTimesAndAttributes) {
    const std::string source = dir / "budget 2026.xls";
    const auto content = PatternSource(3 * (1 << 20) + 5);
    WriteWholeFile(source, content);
    FileStatus status;
    ASSERT_TRUE(fs.GetStatus(source, &status));
    status.creationTime = 130000000000000000;   // 2012
    status.lastWriteTime = 131000000000000000;  // 2016
    status.attributes = attr::kReadOnly | attr::kHidden | attr::kArchive;
    ASSERT_TRUE(fs.SetStatus(source, status));
    ASSERT_TRUE(fs.GetStatus(source, &status));

    processor.writeReadOnly = processor.wipeZero = processor.wipeRandom = true;
    const std::string cpyPath = dir / "QWERTYUIOPASD.cpy";
    processor.EncryptFile(source, cpyPath);
    EXPECT_TRUE(lines.empty()) << lines[0];
    EXPECT_FALSE(Exists(source));
    FileStatus cpyStatus;
    ASSERT_TRUE(fs.GetStatus(cpyPath, &cpyStatus));
    EXPECT_EQ(cpyStatus.attributes, status.attributes);
    EXPECT_EQ(cpyStatus.lastWriteTime, status.lastWriteTime);

    processor.DecryptFile(cpyPath);
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(Exists(cpyPath));
    FileStatus restored;
    ASSERT_TRUE(fs.GetStatus(source, &restored));
    EXPECT_EQ(restored.attributes, status.attributes);
    EXPECT_EQ(restored.lastWriteTime, status.lastWriteTime);
    EXPECT_EQ(restored.creationTime, status.creationTime);  // as the system keeps it
    EXPECT_TRUE(ReadWholeFile(source) == content);

    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((dir / "*").c_str(), &data);
    int entries = 0;
    do {
        ++entries;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    EXPECT_EQ(entries, 3);  // ".", ".." and the restored file: no digit-named leftovers
}

TEST_F(FileProcessorWineTest, SourceHeldOpenElsewhere) {
    const std::string source = dir / "open.txt";
    WriteWholeFile(source, {1, 2, 3});
    const HANDLE other =
        CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    processor.EncryptFile(source, dir / "ABCDEFGHIJKLM.cpy");
    CloseHandle(other);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "message : message_file_open_failed : " + source);
    EXPECT_FALSE(Exists(dir / "ABCDEFGHIJKLM.cpy"));
    EXPECT_TRUE(ReadWholeFile(source) == (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(FileProcessorWineTest, DecryptionNeverOverwrites) {
    Cast128 cipher;
    cipher.SetKey("secret");
    const std::string cpyPath = dir / "X.cpy";
    WriteWholeFile(cpyPath, BuildImage(cipher, "notes.txt", {7, 7, 7}));
    WriteWholeFile(dir / "notes.txt", {1});
    processor.DecryptFile(cpyPath);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "error : error_same_filename : " + dir / "notes.txt");
    EXPECT_TRUE(ReadWholeFile(dir / "notes.txt") == (std::vector<uint8_t>{1}));
    EXPECT_TRUE(Exists(cpyPath));
}

// Another program makes a file of the output's name as the output is
// written, or after the worker chose the name: it is not overwritten. A
// restored file's name is then refused; a ".cpy" name is drawn anew.
class LateFileSystem : public Win32FileSystem {
  public:
    std::unique_ptr<File> Create(const std::string& path) override {
        if (!Exists(lateFile)) WriteWholeFile(lateFile, {9});
        return Win32FileSystem::Create(path);
    }
    std::string lateFile;
};

TEST_F(FileProcessorWineTest, OutputNameTakenWhileWritten) {
    Cast128 cipher;
    cipher.SetKey("secret");
    WriteWholeFile(dir / "X.cpy", BuildImage(cipher, "notes.txt", {7, 7, 7}));
    WriteWholeFile(dir / "plain.txt", {1, 2, 3});
    LateFileSystem late;
    FileProcessor racing(late, texts);
    racing.SetPassword("secret");
    racing.SetReportSink([this](const std::string& line, ReportKind) { lines.push_back(line); });

    late.lateFile = dir / "notes.txt";
    racing.DecryptFile(dir / "X.cpy");
    EXPECT_EQ(lines, std::vector<std::string>{"error : error_same_filename : " + late.lateFile});
    EXPECT_TRUE(ReadWholeFile(late.lateFile) == std::vector<uint8_t>{9});
    EXPECT_TRUE(Exists(dir / "X.cpy"));

    lines.clear();
    WriteWholeFile(dir / "LATE.cpy", {9});  // after the worker chose the name
    racing.EncryptFile(dir / "plain.txt", dir / "LATE.cpy");
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(ReadWholeFile(dir / "LATE.cpy") == std::vector<uint8_t>{9});
    EXPECT_FALSE(Exists(dir / "plain.txt"));
    std::vector<std::string> files;
    ListTree(dir.Path(), &files);
    EXPECT_EQ(files.size(), 4u);  // X.cpy, notes.txt, LATE.cpy and the one drawn anew
}

}  // namespace
