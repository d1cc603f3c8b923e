// Decryption over the in-memory file system: refusals of damaged, hostile
// and foreign ".cpy" files, and what is left on disk after each.
#include <gtest/gtest.h>

#include "fileops/cpy_layout.h"
#include "fileops/cpy_summary.h"
#include "fs/path_text.h"
#include "tests/support/processor_rig.h"

namespace {

const char* const kRestored = "C:\\data\\report.txt";

// A file whose name decryption would refuse is refused before anything is
// written, and left as it was. Names with a '\\' of their own are paths, not
// names of files, and never reach encryption as a name.
void ExpectEncryptionRefuses(Rig& r, const std::string& name) {
    if (FileNameOf(name, r.fs.NameCodePage()) != name) return;
    const std::string source = "C:\\data\\" + name;
    r.lines.clear();
    r.fs.AddFile(source, {7, 7});
    r.processor.EncryptFile(source, kRestored);
    r.ExpectOnlyLine(kReportError, "error_name_not_storable", source);
    EXPECT_FALSE(r.fs.Exists(kRestored));
    EXPECT_TRUE(r.fs.Contents(source) == (std::vector<uint8_t>{7, 7}));
}

// Every stored name that must not become a path.
TEST(FileDecryption, HostileStoredNamesAreRefused) {
    const std::vector<std::string> names = {".",
                                            "..",
                                            "...",
                                            " . ",
                                            "..\\evil.txt",
                                            "sub\\file",
                                            "a/b",
                                            "C:evil",
                                            "x:y",
                                            "<",
                                            ">",
                                            "\"q\"",
                                            "a|b",
                                            "what?",
                                            "star*",
                                            std::string("tab\there"),
                                            std::string("nul\x01"),
                                            "trailing.",
                                            "trailing ",
                                            "CON",
                                            "con.txt",
                                            "Nul",
                                            "aux.tar.gz",
                                            "PRN",
                                            "COM0",
                                            "com9.log",
                                            "LPT1",
                                            "lpt5.txt",
                                            "CONIN$",
                                            "conout$.txt",
                                            "CON .txt",
                                            "Ab12Cd.tarnu-part",
                                            "notes.Tarnu-Part"};
    // B9 and B3 are superscript digits in 1252 and katakana in 932; 83 is a
    // whole character in 1252 and half of one in 932, where 83 5C is one
    // character and the '|' after it is a character of its own.
    const std::vector<std::pair<std::string, int>> namesOfOneCodePage = {
        {"COM\xB9", 1252}, {"lpt\xB3.txt", 1252}, {"half\x83", 932}, {"\x83\\|", 932}};
    for (int codePage : {1252, 932}) {
        std::vector<std::string> hostile = names;
        for (const auto& [name, only] : namesOfOneCodePage) {
            if (only == codePage) hostile.push_back(name);
        }
        for (const auto& name : hostile) {
            SCOPED_TRACE(std::to_string(codePage) + " " + name);
            Rig r(codePage);
            const auto image = Encrypted(PatternSource(40), "secret", name);
            r.fs.AddFile(kOutput, image);
            r.processor.DecryptFile(kOutput);
            r.ExpectOnlyLine(kReportError, "error_get_decryption_filename", name);
            EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kOutput}));
            EXPECT_TRUE(r.fs.Contents(kOutput) == image);
            ExpectEncryptionRefuses(r, name);
        }
    }
}

// Accepted names come back, and encryption writes exactly what decryption
// reads: in 932 the second byte of ソ, 表 and 能 is '\\', of ポ '|'.
TEST(FileDecryption, OrdinaryNamesAreAccepted) {
    const std::vector<std::pair<int, std::string>> names = {{1252, "a"},
                                                            {1252, "COM10"},
                                                            {1252, "CONSOLE.txt"},
                                                            {1252, "LPT"},
                                                            {1252, ".profile"},
                                                            {1252, "a b.c d"},
                                                            {1252, "x.CON"},
                                                            {1252, "\x81\x40.txt"},
                                                            {1252, "caf\xE9.txt"},
                                                            {932, "\x83\\\x81[\x83X.c"},
                                                            {932, "\x95\\.xls"},
                                                            {932, "\x94\\"},
                                                            {932, "\x83\x8C\x83|\x81[\x83g.doc"},
                                                            {932, "COM\xB9"},
                                                            {950, "\xA5\\\xA5|"}};
    for (const auto& [codePage, name] : names) {
        SCOPED_TRACE(std::to_string(codePage) + " " + name);
        Rig r(codePage);
        r.fs.AddFile(kOutput, Encrypted({1, 2, 3}, "secret", name));
        r.processor.DecryptFile(kOutput);
        EXPECT_TRUE(r.lines.empty());
        const std::string restored = "C:\\data\\" + name;
        EXPECT_TRUE(r.fs.Contents(restored) == (std::vector<uint8_t>{1, 2, 3}));

        r.processor.EncryptFile(restored, kOutput);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_TRUE(r.fs.Contents(kOutput) == Encrypted({1, 2, 3}, "secret", name));
    }
}

// Refusals before anything is created: the ".cpy" file stays as it was.
TEST(FileDecryption, RefusalsBeforeTheOutput) {
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        std::string line;
    };
    const auto good = Encrypted(PatternSource(100));
    auto shortened = good;
    shortened.resize(279);
    auto longer = good;
    longer.push_back(0);
    const std::vector<Case> cases = {
        {"279 bytes", shortened, "error_tarnu_format"},
        {"one byte too many", longer, "error_tarnu_format"},
        {"empty", {}, "error_tarnu_format"},
        {"wrong password", Encrypted(PatternSource(100), "other"), "error_password_missing"},
        {"wrong password, 280 bytes", Encrypted({}, "other"), "error_password_missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        r.fs.AddFile(kOutput, c.image);
        r.processor.DecryptFile(kOutput);
        r.ExpectOnlyLine(kReportError, c.line, kOutput);
        EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kOutput}));
        EXPECT_TRUE(r.fs.Contents(kOutput) == c.image);
    }
}

TEST(FileDecryption, NeverOverwritesAnExistingFile) {
    Rig r;
    r.fs.AddFile(kOutput, Encrypted(PatternSource(100)));
    r.fs.AddFile(kRestored, {9, 9, 9});
    r.processor.DecryptFile(kOutput);
    r.ExpectOnlyLine(kReportError, "error_same_filename", kRestored);
    EXPECT_TRUE(r.fs.Contents(kRestored) == (std::vector<uint8_t>{9, 9, 9}));
    EXPECT_TRUE(r.fs.Exists(kOutput));

    Rig folder;
    folder.fs.AddFile(kOutput, Encrypted(PatternSource(100)));
    folder.fs.AddFolder(kRestored);
    folder.processor.DecryptFile(kOutput);
    folder.ExpectOnlyLine(kReportError, "error_same_filename", kRestored);

    // Taken while the output was written: the rename replaces nothing.
    Rig late;
    late.fs.AddFile(kOutput, Encrypted(PatternSource(100)), attr::kReadOnly);
    late.processor.writeReadOnly = true;
    late.fs.OnCall([&](FsOp op, uint64_t) {
        if (op == FsOp::Move && !late.fs.Exists(kRestored)) late.fs.AddFile(kRestored, {9});
    });
    late.processor.DecryptFile(kOutput);
    late.ExpectOnlyLine(kReportError, "error_same_filename", kRestored);
    EXPECT_EQ(late.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kOutput, kRestored}));
    EXPECT_TRUE(late.fs.Contents(kRestored) == (std::vector<uint8_t>{9}));
    EXPECT_EQ(late.fs.Status(kOutput).attributes, attr::kReadOnly);
}

TEST(FileDecryption, OutputPathTooLong) {
    Rig r;
    const std::string folder = "C:\\" + std::string(200, 'f');
    const std::string cpyPath = folder + "\\x.cpy";
    r.fs.AddFolder(folder);
    r.fs.AddFile(cpyPath, Encrypted({1}, "secret", std::string(55, 'n')));  // 259 bytes: fits
    r.processor.DecryptFile(cpyPath);
    EXPECT_TRUE(r.lines.empty());

    r.fs.AddFile(cpyPath, Encrypted({1}, "secret", std::string(56, 'm')));  // 260 bytes: refused
    r.processor.DecryptFile(cpyPath);
    r.ExpectOnlyLine(kReportError, "error_max_path", cpyPath);
    EXPECT_TRUE(r.fs.Exists(cpyPath));
}

// Failures once the output exists: it is removed and the ".cpy" file stays,
// read-only again if it was.
TEST(FileDecryption, FailuresAfterTheOutputRemoveIt) {
    struct Case {
        const char* what;
        std::function<void(Rig&, std::vector<uint8_t>&)> arrange;
        ReportKind kind;
        std::string line;
        bool reportsOutputPath;
    };
    const std::vector<Case> cases = {
        {"create fails",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Create, 1, FsFault::AccessDenied); },
         kReportMessage, "message_file_create_failed", true},
        {"tail without 0x0A",
         [](Rig&, std::vector<uint8_t>& image) {
             Cast128 cipher;
             cipher.SetKey("secret");
             uint8_t tail[8] = {1, 2, 3, 4, 5, 6, 7, 8};
             cpy::EncryptUnits(cipher, tail, 8);
             std::copy(tail, tail + 8, image.begin() + 272);
         },
         kReportError, "error_broken_tarnu_format:Decript.Leave", false},
        {"short tail read",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Read, 3, FsFault::ShortRead); },
         kReportError, "error_read_file:Decript.Leave", false},
        {"short key read",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Read, 1, FsFault::ShortRead); },
         kReportError, "error_read_file:Decript.Key", false},
        {"short name read",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Read, 2, FsFault::ShortRead); },
         kReportError, "error_read_file:Decript.FileName", false},
        {"body read fails",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Read, 4, FsFault::AccessDenied); },
         kReportError, "error_read_file", false},
        {"read ahead fails while a write is pending",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Read, 5, FsFault::AccessDenied); },
         kReportError, "error_read_file", false},
        {"short body read",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Read, 4, FsFault::ShortRead); },
         kReportError, "error_read_file", false},
        {"disk full",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Write, 2, FsFault::DiskFull); },
         kReportError, "error_write_file", false},
        {"times cannot be set",
         [](Rig& r, std::vector<uint8_t>&) {
             r.fs.FailOp(FsOp::SetStatus, 1, FsFault::AccessDenied);
         },
         kReportError, "error_file_status", true},
        {"rename refused",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Move, 1, FsFault::AccessDenied); },
         kReportError, "error_write_file", true},
        {"rename not durable",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Move, 1, FsFault::DiskFull); },
         kReportError, "error_write_file", true},
        {".cpy cannot be removed",
         [](Rig& r, std::vector<uint8_t>&) { r.fs.FailOp(FsOp::Remove, 1, FsFault::AccessDenied); },
         kReportError, "error_file_status", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        auto image = Encrypted(PatternSource(kMiB + 21));
        c.arrange(r, image);
        r.fs.AddFile(kOutput, image, attr::kReadOnly);
        r.processor.writeReadOnly = true;
        r.processor.DecryptFile(kOutput);
        r.ExpectOnlyLine(c.kind, c.line, c.reportsOutputPath ? kRestored : kOutput);
        EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kOutput}));
        EXPECT_TRUE(r.fs.Contents(kOutput) == image);
        EXPECT_EQ(r.fs.Status(kOutput).attributes, attr::kReadOnly);
        EXPECT_EQ(r.fs.OpenHandleCount(), 0);
    }
}

TEST(FileDecryption, PasswordsDifferingAfterSixteenBytesReadEachOther) {
    Rig r;
    r.fs.AddFile(kOutput, Encrypted({5, 6, 7}, "0123456789abcdefXYZ"));
    r.processor.SetPassword("0123456789abcdef-other");
    r.processor.DecryptFile(kOutput);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_TRUE(r.fs.Contents(kRestored) == (std::vector<uint8_t>{5, 6, 7}));
}

// A look inside without writing: the name and length, or what is wrong.
TEST(FileDecryption, SummaryReadsWithoutWriting) {
    Rig r;
    Cast128 secret;
    secret.SetKey("secret");
    for (size_t size : {0, 7, 8, 1001}) {
        r.fs.AddFile(kSource, std::vector<uint8_t>(size, 3));
        r.processor.EncryptFile(kSource, kOutput);
        const auto paths = r.fs.AllPaths();
        const std::vector<uint8_t> bytes = r.fs.Contents(kOutput);
        const CpySummary summary = ReadCpySummary(r.fs, secret, kOutput);
        EXPECT_EQ(summary.errorKey, nullptr);
        EXPECT_EQ(summary.name, "report.txt");
        EXPECT_EQ(summary.sourceLength, size);
        EXPECT_EQ(r.fs.AllPaths(), paths);
        EXPECT_EQ(r.fs.Contents(kOutput), bytes);
        r.fs.Delete(kOutput);
    }
    r.fs.AddFile(kSource, {1, 2, 3});
    r.processor.EncryptFile(kSource, kOutput);
    Cast128 wrong;
    wrong.SetKey("not secret");
    EXPECT_STREQ(ReadCpySummary(r.fs, wrong, kOutput).errorKey, "error_password_missing");
    EXPECT_STREQ(ReadCpySummary(r.fs, secret, "C:\\data\\none.cpy").errorKey, "error_read_file");
    r.fs.AddFile("C:\\data\\short.cpy", std::vector<uint8_t>(cpy::kHeaderSize - 8));
    EXPECT_STREQ(ReadCpySummary(r.fs, secret, "C:\\data\\short.cpy").errorKey,
                 "error_tarnu_format");
}

}  // namespace
