// FileProcessor over the in-memory file system: every outcome of both
// operations, with the state of the files afterwards.
#include "fileops/file_processor.h"

#include <gtest/gtest.h>

#include "fileops/cpy_layout.h"
#include "fileops/output_name.h"
#include "fs/path_text.h"
#include "tests/support/cpy_samples.h"
#include "tests/support/processor_rig.h"

namespace {

TEST(FileProcessor, SampleFilesAreWrittenAndReadBackExactly) {
    Rig r;
    for (const auto& c : ReadSampleCases()) {
        SCOPED_TRACE("case " + std::to_string(c.number));
        // In the drive root, so that the 255-byte name still fits a path.
        const std::string source = "C:\\" + c.name;
        const std::string output = "C:\\ABCDEFGHIJKLM.cpy";
        r.fs.SetCodePage(c.codePage ? c.codePage : 1252);
        r.fs.AddFile(source, c.source);
        r.processor.SetPassword(c.password);
        r.processor.EncryptFile(source, output);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_FALSE(r.fs.Exists(source));
        EXPECT_TRUE(r.fs.Contents(output) == c.encrypted);

        r.processor.DecryptFile(output);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_FALSE(r.fs.Exists(output));
        EXPECT_TRUE(r.fs.Contents(source) == c.source);
        r.fs.Delete(source);
    }
}

// Sizes around the buffer boundary, with the exact byte counts.
TEST(FileProcessor, RoundTripCountsEveryByte) {
    Rig r;
    for (size_t size : {size_t(0), size_t(7), size_t(8), kMiB, kMiB + 7, 2 * kMiB, 5 * kMiB + 3}) {
        SCOPED_TRACE(size);
        const auto content = PatternSource(size);
        FileStatus times;
        times.creationTime = 111;
        times.lastAccessTime = 222;
        times.lastWriteTime = 333;
        r.fs.AddFile(kSource, content, attr::kArchive | attr::kHidden, times);

        r.processor.EncryptFile(kSource, kOutput);
        EXPECT_EQ(r.processor.GetCounters(), cpy::EncryptedLength(size));
        EXPECT_EQ(r.fs.Contents(kOutput).size(), cpy::EncryptedLength(size));
        r.processor.DecryptFile(kOutput);
        EXPECT_EQ(r.processor.GetCounters(), cpy::EncryptedLength(size));

        EXPECT_TRUE(r.lines.empty());
        EXPECT_TRUE(r.fs.Contents(kSource) == content);
        const FileStatus restored = r.fs.Status(kSource);
        EXPECT_EQ(restored.creationTime, 111u);
        EXPECT_EQ(restored.lastWriteTime, 333u);
        EXPECT_EQ(restored.attributes, attr::kArchive | attr::kHidden);
        EXPECT_EQ(r.fs.OpenHandleCount(), 0);
        r.fs.Delete(kSource);
    }
}

TEST(FileProcessor, ReadOnlyFilesNeedTheOption) {
    Rig r;
    r.fs.AddFile(kSource, PatternSource(50), attr::kReadOnly | attr::kArchive);
    r.processor.EncryptFile(kSource, kOutput);
    r.ExpectOnlyLine(kReportMessage, "message_file_attributes_failed", kSource);
    EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kSource}));

    r.lines.clear();
    r.processor.writeReadOnly = true;
    r.processor.EncryptFile(kSource, kOutput);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_EQ(r.fs.Status(kOutput).attributes, attr::kReadOnly | attr::kArchive);

    r.processor.writeReadOnly = false;
    r.processor.DecryptFile(kOutput);
    r.ExpectOnlyLine(kReportMessage, "message_file_attributes_failed", kOutput);

    r.lines.clear();
    r.processor.writeReadOnly = true;
    r.processor.DecryptFile(kOutput);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_FALSE(r.fs.Exists(kOutput));
    EXPECT_EQ(r.fs.Status(kSource).attributes, attr::kReadOnly | attr::kArchive);
}

// Each refusal of encryption: its line, the source as it was (read-only put
// back) and no output left behind.
TEST(FileProcessor, EncryptionRefusalsLeaveTheSourceAsItWas) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> arrange;
        ReportKind kind;
        std::string line;
    };
    std::unique_ptr<File> holder;
    const std::vector<Case> cases = {
        {"held open", [&](Rig& r) { holder = r.fs.OpenReadWrite(kSource); }, kReportMessage,
         "message_file_open_failed"},
        {"create fails", [](Rig& r) { r.fs.FailOp(FsOp::Create, 1, FsFault::AccessDenied); },
         kReportMessage, "message_file_create_failed"},
        {"key holds 0x0A", [](Rig& r) { r.processor.SetPassword("two\nlines"); }, kReportMessage,
         "error_word"},
        {"short lead read", [](Rig& r) { r.fs.FailOp(FsOp::Read, 1, FsFault::ShortRead); },
         kReportError, "error_read_file:Leave"},
        {"disk full in the body", [](Rig& r) { r.fs.FailOp(FsOp::Write, 4, FsFault::DiskFull); },
         kReportError, "error_write_file"},
        {"body read fails", [](Rig& r) { r.fs.FailOp(FsOp::Read, 2, FsFault::AccessDenied); },
         kReportError, "error_read_file"},
        {"short body read", [](Rig& r) { r.fs.FailOp(FsOp::Read, 2, FsFault::ShortRead); },
         kReportError, "error_read_file"},
        // The body's chunk and the empty read after it: that read comes while
        // the chunk is ciphered, before it is written.
        {"read ahead fails", [](Rig& r) { r.fs.FailOp(FsOp::Read, 3, FsFault::AccessDenied); },
         kReportError, "error_read_file"},
        {"last write fails", [](Rig& r) { r.fs.FailOp(FsOp::Write, 5, FsFault::DiskFull); },
         kReportError, "error_write_file"},
        {"flush fails", [](Rig& r) { r.fs.FailOp(FsOp::Flush, 1, FsFault::DiskFull); },
         kReportError, "error_write_file"},
        {"close fails", [](Rig& r) { r.fs.FailOp(FsOp::Close, 1, FsFault::DiskFull); },
         kReportError, "error_write_file"},
        {"times cannot be set",
         [](Rig& r) { r.fs.FailOp(FsOp::SetStatus, 1, FsFault::AccessDenied); }, kReportError,
         "error_file_status"},
        {"rename refused", [](Rig& r) { r.fs.FailOp(FsOp::Move, 1, FsFault::AccessDenied); },
         kReportError, "error_write_file"},
        // Renamed, but not made durable: no new name is drawn, and the output goes.
        {"rename not durable", [](Rig& r) { r.fs.FailOp(FsOp::Move, 1, FsFault::DiskFull); },
         kReportError, "error_write_file"},
    };
    const auto content = PatternSource(kMiB + 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        // A read-only source shows that the attribute is put back; a file
        // held open elsewhere cannot be read-only here.
        const uint32_t attributes =
            c.line == "message_file_open_failed" ? attr::kArchive : attr::kReadOnly;
        r.fs.AddFile(kSource, content, attributes);
        r.processor.writeReadOnly = true;
        c.arrange(r);
        r.processor.EncryptFile(kSource, kOutput);
        holder.reset();
        r.ExpectOnlyLine(c.kind, c.line, kSource);
        EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kSource}));
        EXPECT_TRUE(r.fs.Contents(kSource) == content);
        EXPECT_EQ(r.fs.Status(kSource).attributes, attributes);
        EXPECT_EQ(r.fs.OpenHandleCount(), 0);
    }
}

TEST(FileProcessor, NamesThatCannotBeStored) {
    Rig r;
    const std::string longSource = "C:\\data\\" + std::string(256, 'n');
    r.fs.AddFile(longSource, {1, 2, 3});
    r.processor.EncryptFile(longSource, kOutput);
    r.ExpectOnlyLine(kReportError, "error_max_path", longSource);

    r.lines.clear();
    const std::string brokenName = "C:\\data\\a\nb";
    r.fs.AddFile(brokenName, {1, 2, 3});
    r.processor.EncryptFile(brokenName, kOutput);
    r.ExpectOnlyLine(kReportError, "error_word", brokenName);
    EXPECT_FALSE(r.fs.Exists(kOutput));
}

// The output is written under a temporary name; a ".cpy" name that another
// program takes meanwhile is not replaced: the output gets another.
TEST(FileProcessor, OutputNameTakenMeanwhileIsDrawnAgain) {
    Rig r;
    const auto content = PatternSource(1000);
    r.fs.AddFile(kSource, content, attr::kReadOnly | attr::kHidden);
    r.processor.writeReadOnly = true;
    std::vector<std::string> written;
    r.fs.OnCall([&](FsOp op, uint64_t) {
        if (op == FsOp::Write && written.empty()) written = r.fs.AllPaths();
        if (op == FsOp::Move && !r.fs.Exists(kOutput)) r.fs.AddFile(kOutput, {9});
    });
    r.processor.EncryptFile(kSource, kOutput);
    EXPECT_TRUE(r.lines.empty());
    ASSERT_EQ(written.size(), 3u);  // the folder, the source and the output
    const std::string& temporary = written[1] == kSource ? written[2] : written[1];
    EXPECT_TRUE(IsTemporaryPath(temporary)) << temporary;
    EXPECT_EQ(FolderPrefixOf(temporary, r.fs.NameCodePage()), "C:\\data\\");
    EXPECT_TRUE(r.fs.Contents(kOutput) == std::vector<uint8_t>{9});
    const auto paths = r.fs.AllPaths();
    ASSERT_EQ(paths.size(), 3u);
    const std::string& drawn = paths[1] == kOutput ? paths[2] : paths[1];
    EXPECT_EQ(drawn.size(), std::string(kOutput).size());
    EXPECT_TRUE(EndsInCpy(drawn));
    EXPECT_TRUE(r.fs.Contents(drawn) == Encrypted(content));
    EXPECT_EQ(r.fs.Status(drawn).attributes, attr::kReadOnly | attr::kHidden);
}

TEST(FileProcessor, MissingFiles) {
    Rig r;
    r.processor.EncryptFile(kSource, kOutput);
    r.ExpectOnlyLine(kReportMessage, "message_file_open_failed", kSource);
    r.lines.clear();
    r.processor.DecryptFile(kOutput);
    r.ExpectOnlyLine(kReportMessage, "message_file_open_failed", kOutput);
}

}  // namespace

namespace {

// Writes to the source after its body was read: the wipe passes.
std::vector<WriteRecord> WipeWrites(const MemoryFileSystem& fs) {
    std::vector<WriteRecord> wipes;
    for (const auto& w : fs.Writes()) {
        if (w.path == kSource) wipes.push_back(w);
    }
    return wipes;
}

TEST(FileProcessor, WipePassesCoverExactlyTheSource) {
    for (size_t size : {size_t(100), kMiB, 2 * kMiB}) {
        SCOPED_TRACE(size);
        Rig r;
        r.fs.AddFile(kSource, PatternSource(size));
        r.fs.RecordWrites(true);
        r.processor.wipeZero = r.processor.wipeRandom = true;
        r.processor.EncryptFile(kSource, kOutput);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_EQ(r.processor.GetCounters(), cpy::EncryptedLength(size));
        EXPECT_EQ(r.processor.TakeFinishingCounters(), 2 * size);  // the wipes

        // Zeros over [0, size), then bytes below 255 over [0, size), each pass
        // flushed to the device before the file goes.
        std::vector<uint8_t> zeros, randoms;
        uint64_t expectedOffset = 0;
        for (const auto& w : WipeWrites(r.fs)) {
            std::vector<uint8_t>& pass = zeros.size() < size ? zeros : randoms;
            if (pass.empty()) expectedOffset = 0;
            EXPECT_EQ(w.offset, expectedOffset);
            pass.insert(pass.end(), w.bytes.begin(), w.bytes.end());
            expectedOffset += w.bytes.size();
        }
        EXPECT_EQ(zeros, std::vector<uint8_t>(size, 0));
        ASSERT_EQ(randoms.size(), size);
        EXPECT_TRUE(std::all_of(randoms.begin(), randoms.end(), [](uint8_t b) { return b < 255; }));
        EXPECT_GT(std::count_if(randoms.begin(), randoms.end(), [](uint8_t b) { return b != 0; }),
                  0);
        EXPECT_EQ(std::count(r.fs.Flushes().begin(), r.fs.Flushes().end(), kSource), 2);
        EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kOutput}));
    }
}

TEST(FileProcessor, ZeroWipeAlone) {
    Rig r;
    r.fs.AddFile(kSource, PatternSource(2 * kMiB));
    r.fs.RecordWrites(true);
    r.processor.wipeZero = true;
    r.processor.EncryptFile(kSource, kOutput);
    EXPECT_EQ(r.processor.GetCounters() + r.processor.TakeFinishingCounters(),
              16u + 256 + 8 + 2 * kMiB + 2 * kMiB);
    size_t wiped = 0;
    for (const auto& w : WipeWrites(r.fs)) {
        EXPECT_TRUE(std::all_of(w.bytes.begin(), w.bytes.end(), [](uint8_t b) { return b == 0; }));
        wiped += w.bytes.size();
    }
    EXPECT_EQ(wiped, 2 * kMiB);
}

// After the output is complete, a failure to remove the source is reported
// and the output stays: nothing is lost either way. A wipe first gives the
// source its name of digits, under which a failure leaves it, and names it.
TEST(FileProcessor, RemovalFailuresKeepTheOutput) {
    struct Case {
        const char* what;
        bool wipe;
        FsOp op;
        FsFault fault;
        bool underDigits;
    };
    for (const Case& c :
         {Case{"removal refused", false, FsOp::Remove, FsFault::AccessDenied, false},
          Case{"wipe write fails", true, FsOp::Write, FsFault::AccessDenied, true},
          Case{"move to digits fails", true, FsOp::Rename, FsFault::AccessDenied, false},
          Case{"move to digits not durable", true, FsOp::Rename, FsFault::DiskFull, true},
          Case{"removal under digits fails", true, FsOp::Remove, FsFault::AccessDenied, true}}) {
        SCOPED_TRACE(c.what);
        Rig r;
        const auto content = PatternSource(1000);
        r.fs.AddFile(kSource, content);
        r.processor.wipeZero = c.wipe;
        r.fs.FailOp(c.op, c.op == FsOp::Write ? 5 : 1, c.fault);
        r.processor.EncryptFile(kSource, kOutput);
        EXPECT_TRUE(r.fs.Contents(kOutput) == Encrypted(content));
        std::vector<std::string> digitNamed;
        for (const std::string& p : r.fs.AllPaths()) {
            if (p.size() == 18 && p.find_first_not_of("0123456789", 8) == std::string::npos)
                digitNamed.push_back(p);
        }
        EXPECT_EQ(digitNamed.size(), c.underDigits ? 1u : 0u);
        EXPECT_EQ(r.fs.Exists(kSource), !c.underDigits);
        r.ExpectOnlyLine(kReportError, "error_encryption_remove",
                         c.underDigits ? digitNamed.at(0) : kSource);
        EXPECT_EQ(r.fs.OpenHandleCount(), 0);
    }
}

TEST(FileProcessor, ReportLinesAreNeverCut) {
    Rig r;
    const std::string path = "C:\\" + std::string(600, 'p');
    r.processor.ReportError(path, std::string(700, 't'));
    r.ExpectOnlyLine(kReportError, std::string(700, 't'), path);
}

}  // namespace

namespace {

// Stop pressed while the body runs: the partial output goes, the original
// stays exactly as it was.
TEST(FileProcessor, CancellationDuringTheBody) {
    Rig r;
    const auto content = PatternSource(3 * kMiB + 5);
    r.fs.AddFile(kSource, content, attr::kReadOnly);
    r.processor.writeReadOnly = true;
    int reads = 0;
    r.fs.OnCall([&](FsOp op, uint64_t) {
        if (op == FsOp::Read && ++reads == 3) r.stop = true;  // lead, chunk 1, chunk 2
    });
    r.processor.EncryptFile(kSource, kOutput);
    r.ExpectOnlyLine(kReportMessage, "message_encryption_canceled", kSource);
    EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kSource}));
    EXPECT_TRUE(r.fs.Contents(kSource) == content);
    EXPECT_EQ(r.fs.Status(kSource).attributes, attr::kReadOnly);

    Rig d;
    const auto image = Encrypted(content);
    d.fs.AddFile(kOutput, image);
    reads = 0;
    d.fs.OnCall([&](FsOp op, uint64_t) {
        if (op == FsOp::Read && ++reads == 5) d.stop = true;  // key, name, tail, 2 chunks
    });
    d.processor.DecryptFile(kOutput);
    d.ExpectOnlyLine(kReportMessage, "message_decryption_canceled", kOutput);
    EXPECT_EQ(d.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kOutput}));
    EXPECT_TRUE(d.fs.Contents(kOutput) == image);
}

}  // namespace
