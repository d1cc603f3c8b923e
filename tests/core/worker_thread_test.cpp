// The worker over the in-memory disk: collection, refusals, job control and
// the state it leaves after every job.
#include "engine/worker_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "fileops/cpy_layout.h"
#include "fs/path_text.h"
#include "tests/support/cpy_samples.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/recording_owner.h"

// Reads the processor's key after a job.
class FileProcessorProbe {
  public:
    static const Cast128& Cipher(const FileProcessor& p) { return p.cipher; }
    static const std::vector<uint8_t>& Buffer(const FileProcessor& p) { return p.buffer; }
};

namespace {

using Lines = std::vector<std::string>;

class WorkerTest : public ::testing::Test {
  protected:
    WorkerTest() {
        texts.SetText("message_encryption_started", "enc started");
        texts.SetText("message_decryption_started", "dec started");
        texts.SetText("message_problem_analysis", "analysis");
        texts.SetText("message_encryption_finished", "enc finished");
        texts.SetText("message_decryption_finished", "dec finished");
        texts.SetText("message_encryption_canceled", "enc canceled");
        worker.programPath = "C:\\Tools\\tarnu.exe";
        worker.systemDrive = "C:";
        worker.systemDirectory = "C:\\Windows\\system32";
        worker.windowsDirectory = "C:\\Windows";
        worker.password = "pw";
        fs.AddFolder("C:\\Windows\\system32\\drivers");
        fs.AddFolder("D:\\");
    }
    ~WorkerTest() override {
        worker.RequestQuit();
        worker.Join();
    }

    // The owner hands the password over for every job, as the window does.
    void RunJob(JobKind kind, const Lines& paths) {
        worker.password = jobPassword;
        worker.jobPaths = paths;
        const int before = owner.jobsFinished;
        worker.StartJob(kind);
        ASSERT_TRUE(owner.WaitForJobs(before + 1));
    }

    void ExpectIdleState() {
        EXPECT_TRUE(worker.jobPaths.empty());
        EXPECT_TRUE(worker.password.empty());
        EXPECT_EQ(owner.progress.total, 0u);
        EXPECT_EQ(owner.progress.done, 0u);
    }

    MemoryFileSystem fs;
    TextTable texts;
    WorkerThread worker{fs, texts};
    RecordingOwner owner;
    std::string jobPassword = "pw";
};

// 'A' holds a1, a2 and subfolders S1 (s1) and S2 (s2); f.txt is queued last.
TEST_F(WorkerTest, CollectionAndProcessingOrder) {
    for (const char* file :
         {"C:\\A\\a1", "C:\\A\\a2", "C:\\A\\S1\\s1", "C:\\A\\S2\\s2", "C:\\f.txt"}) {
        fs.AddFile(file, {1, 2, 3});
    }
    worker.Start(owner);
    worker.jobPaths = {"C:\\A", "C:\\f.txt"};
    std::vector<std::string> files;
    ASSERT_TRUE(worker.CollectFiles(files, kJobEncrypt));
    EXPECT_EQ(files,
              (Lines{"C:\\f.txt", "C:\\A\\a1", "C:\\A\\a2", "C:\\A\\S2\\s2", "C:\\A\\S1\\s1"}));
    EXPECT_TRUE(worker.jobPaths.empty());

    owner.progress.total = 0;
    RunJob(kJobEncrypt, {"C:\\A", "C:\\f.txt"});
    EXPECT_EQ(owner.prompts, (Lines{"s1", "s2", "a2", "a1", "f.txt"}));
    EXPECT_EQ(owner.lines, (Lines{"enc started", "analysis", "enc finished"}));
    EXPECT_TRUE(worker.LastJobWasClean());
    ExpectIdleState();

    // A password longer than the key's 16 bytes is named at the start; the
    // key, like the password, ends at a zero byte.
    texts.SetText("message_password_truncated", "only 16");
    const std::pair<std::string, Lines> rows[] = {
        {std::string(17, 'p'), {"enc started", "only 16", "analysis", "enc finished"}},
        {std::string(16, 'p'), {"enc started", "analysis", "enc finished"}},
        {std::string(16, 'p') + '\0' + "tail", {"enc started", "analysis", "enc finished"}}};
    for (const auto& [password, lines] : rows) {
        owner.lines.clear();
        jobPassword = password;
        RunJob(kJobEncrypt, {"D:"});
        EXPECT_EQ(owner.lines, lines) << password.size();
        EXPECT_EQ(worker.LastJobWasClean(), lines.size() == 3) << password.size();
    }
}

TEST_F(WorkerTest, WhatEachJobTakes) {
    fs.AddFile("C:\\Tools\\a.txt", std::vector<uint8_t>(100));
    fs.AddFile("C:\\Tools\\b.cpy", std::vector<uint8_t>(280));
    fs.AddFile("C:\\Tools\\X.CPY", std::vector<uint8_t>(10));
    fs.AddFile("C:\\Tools\\TARNU.EXE", std::vector<uint8_t>(50));
    // Unfinished outputs of a job that was cut off: for neither job.
    fs.AddFile("C:\\Tools\\Ab12Cd.tarnu-part", std::vector<uint8_t>(70));
    fs.AddFile("C:\\Tools\\old.TARNU-PART", std::vector<uint8_t>(90));
    const Lines unfinished = {"message_interrupted_output : C:\\Tools\\Ab12Cd.tarnu-part",
                              "message_interrupted_output : C:\\Tools\\old.TARNU-PART"};
    worker.programPath = "c:\\tools\\tarnu.exe";  // any letter case
    worker.Start(owner);

    std::vector<std::string> files;
    worker.jobPaths = {"C:\\Tools", "C:\\Tools\\TARNU.EXE", "C:\\Tools\\old.TARNU-PART"};
    ASSERT_TRUE(worker.CollectFiles(files, kJobEncrypt));
    EXPECT_EQ(files, (Lines{"C:\\Tools\\a.txt"}));  // ".cpy" in any letter case is not
    EXPECT_EQ(owner.progress.total, 100u);
    EXPECT_EQ(owner.lines, (Lines{unfinished[1], unfinished[0], unfinished[1]}));

    files.clear();
    owner.lines.clear();
    owner.progress.total = 0;
    worker.jobPaths = {"C:\\Tools"};
    ASSERT_TRUE(worker.CollectFiles(files, kJobDecrypt));
    EXPECT_EQ(files, (Lines{"C:\\Tools\\b.cpy", "C:\\Tools\\X.CPY"}));
    EXPECT_EQ(owner.progress.total, 290u);
    EXPECT_EQ(owner.lines, unfinished);

    // Each wipe pass over a file counts its size once more.
    for (int passes = 1; passes <= 3; ++passes) {
        files.clear();
        owner.progress.total = 0;
        worker.Processor().wipeZero = passes >= 2;
        worker.Processor().wipeRandom = passes == 3;
        worker.jobPaths = {"C:\\Tools\\a.txt"};
        ASSERT_TRUE(worker.CollectFiles(files, kJobEncrypt));
        EXPECT_EQ(owner.progress.total, 100u * passes);
    }
}

// A refusal met after other entries were collected still processes nothing.
TEST_F(WorkerTest, SystemFoldersAreRefused) {
    fs.AddFile("C:\\data\\x.txt", {1});
    texts.SetText("error_directory_windows", "no windows");
    texts.SetText("error_directory_system", "no system");
    texts.SetText("error_directory_systemroot", "no system drive");
    worker.Start(owner);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"c:\\WINDOWS", "no windows"},
        {"C:\\Windows\\System32", "no system"},
        {"c:", "no system drive"}};
    for (const auto& [queued, line] : cases) {
        SCOPED_TRACE(queued);
        owner.lines.clear();
        RunJob(kJobEncrypt, {queued, "C:\\data\\x.txt"});
        EXPECT_EQ(owner.lines, (Lines{"enc started", "analysis", line, "enc finished"}));
        EXPECT_FALSE(worker.LastJobWasClean());
        EXPECT_TRUE(fs.Exists("C:\\data\\x.txt"));
        ExpectIdleState();
    }
    // Below the Windows folder, and other drives, are walked.
    fs.AddFile("D:\\d.txt", {2});
    fs.AddFile("C:\\Windows\\system32\\drivers\\x.sys", {3});
    std::vector<std::string> files;
    worker.jobPaths = {"D:", "C:\\Windows\\system32\\drivers"};
    ASSERT_TRUE(worker.CollectFiles(files, kJobEncrypt));
    EXPECT_EQ(files, (Lines{"C:\\Windows\\system32\\drivers\\x.sys", "D:\\d.txt"}));
}

// Links are named and left, to folders and to files, whatever points at
// them; other reparse points (a cloud folder, a deduplicated file) are
// ordinary folders and files.
TEST_F(WorkerTest, FoldersThatCannotBeListedAndLinks) {
    texts.SetText("message_file_seek_failed", "cannot list");
    texts.SetText("message_link_skipped", "link skipped");
    texts.SetText("message_file_link_skipped", "file link skipped");
    fs.AddFile("C:\\T\\a.txt", {1});
    fs.AddFile("C:\\T\\Locked\\b.txt", {2});
    fs.AddFile("C:\\T\\Open\\c.txt", {3});
    fs.AddFolder("C:\\T\\Loop");
    fs.SetAttributes("C:\\T\\Loop", attr::kDirectory | attr::kReparsePoint);  // no tag
    fs.AddFile("C:\\T\\Loop\\never.txt", {4});
    fs.AddFile("C:\\T\\Junction\\never.txt", {4});
    fs.SetReparseTag("C:\\T\\Junction", reparse::kMountPoint);
    fs.AddFile("C:\\T\\Cloud\\d.txt", {6});
    fs.SetReparseTag("C:\\T\\Cloud", 0x9000601A);
    fs.AddFile("C:\\T\\dedup.txt", {7});
    fs.SetReparseTag("C:\\T\\dedup.txt", 0x80000013);
    fs.AddFile("C:\\T\\link.txt", {8});
    fs.SetReparseTag("C:\\T\\link.txt", reparse::kSymbolicLink);
    fs.AddFolder("C:\\Empty");
    fs.DenyListing("C:\\T\\Locked");
    // A name the code page cannot spell is listed with '?' for what it lacks;
    // only a job that would work on the file names it.
    fs.AddFile("C:\\T\\x?y.txt", {5});
    fs.AddFile("C:\\T\\z?.cpy", {6});
    texts.SetText("message_name_not_in_code_page", "cannot spell");
    worker.Start(owner);

    const struct {
        JobKind kind;
        Lines files, lines;
    } rows[] = {{kJobEncrypt,
                 {"C:\\T\\a.txt", "C:\\T\\dedup.txt", "C:\\T\\Open\\c.txt", "C:\\T\\Cloud\\d.txt"},
                 {"link skipped : C:\\T\\Junction", "file link skipped : C:\\T\\link.txt",
                  "link skipped : C:\\T\\Loop", "cannot spell : C:\\T\\x?y.txt",
                  "cannot list : C:\\T\\Locked"}},
                {kJobDecrypt,
                 {},
                 {"link skipped : C:\\T\\Junction", "link skipped : C:\\T\\Loop",
                  "cannot spell : C:\\T\\z?.cpy", "cannot list : C:\\T\\Locked"}}};
    std::vector<std::string> files;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        owner.lines.clear();
        files.clear();
        worker.jobPaths = {"C:\\T", "C:\\Empty"};
        ASSERT_TRUE(worker.CollectFiles(files, row.kind));
        EXPECT_EQ(files, row.files);
        EXPECT_EQ(owner.lines, row.lines);
    }

    owner.lines.clear();
    worker.jobPaths = {"C:\\T\\Locked"};
    EXPECT_FALSE(worker.CollectFiles(files, kJobEncrypt));
    EXPECT_EQ(owner.lines, (Lines{"cannot list"}));

    owner.lines.clear();
    RunJob(kJobEncrypt, {"C:\\T"});  // a job whose log names skipped entries
    EXPECT_FALSE(worker.LastJobWasClean());
    EXPECT_TRUE(fs.Contents("C:\\T\\link.txt") == std::vector<uint8_t>{8});
    EXPECT_FALSE(fs.Exists("C:\\T\\dedup.txt"));

    // Dropped or named as the listing spells it; a folder link named is walked.
    const std::pair<std::string, Lines> named[] = {
        {"C:\\T\\x?y.txt", {"cannot spell : C:\\T\\x?y.txt"}},
        {"C:\\T\\link.txt", {"file link skipped : C:\\T\\link.txt"}},
        {"C:\\T\\Junction", {}}};
    for (const auto& [path, lines] : named) {
        owner.lines.clear();
        files.clear();
        worker.jobPaths = {path};
        EXPECT_TRUE(worker.CollectFiles(files, kJobEncrypt));
        EXPECT_EQ(files, lines.empty() ? Lines{"C:\\T\\Junction\\never.txt"} : Lines{});
        EXPECT_EQ(owner.lines, lines);
    }
}

TEST_F(WorkerTest, OutputNames) {
    fs.AddFolder("C:\\out");
    worker.Start(owner);
    const auto wellFormed = [](const std::string& path) {
        const std::string name = path.substr(7, 13);
        return path.size() == 7 + 13 + 4 && path.compare(0, 7, "C:\\out\\") == 0 &&
               path.compare(20, 4, ".cpy") == 0 &&
               std::all_of(name.begin(), name.end(),
                           [](unsigned char c) { return std::isalnum(c) != 0; });
    };
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        const std::string name = worker.MakeOutputName("C:\\out");
        EXPECT_TRUE(wellFormed(name)) << name;
        EXPECT_FALSE(fs.Exists(name));
        fs.AddFile(name, {});
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 200u);
}

TEST_F(WorkerTest, StopBeforeTheFirstFile) {
    fs.AddFile("C:\\data\\x.txt", {1});
    owner.onLogLine = [&](const std::string& line) {
        if (line == "analysis") worker.RequestStop();
    };
    worker.Start(owner);
    RunJob(kJobEncrypt, {"C:\\data"});
    EXPECT_EQ(owner.lines, (Lines{"enc started", "analysis", "enc canceled", "enc finished"}));
    EXPECT_FALSE(worker.LastJobWasClean());
    EXPECT_TRUE(owner.prompts.empty());
    EXPECT_TRUE(fs.Exists("C:\\data\\x.txt"));
    ExpectIdleState();

    // A Stop that arrives once the job is over does not cancel the next one.
    owner.onLogLine = nullptr;
    worker.RequestStop();
    owner.lines.clear();
    RunJob(kJobEncrypt, {"C:\\data"});
    EXPECT_EQ(owner.lines, (Lines{"enc started", "analysis", "enc finished"}));
    EXPECT_TRUE(worker.LastJobWasClean());
    EXPECT_FALSE(fs.Exists("C:\\data\\x.txt"));
}

// A Stop that lands as a file opens (here while its output is named, after
// the worker's last look) still stops that file, however large.
TEST_F(WorkerTest, AStopAsAFileOpensStopsThatFile) {
    fs.AddFile("C:\\data\\big.bin", PatternSource(3 << 20));
    bool stopped = false;
    fs.OnCall([&](FsOp op, uint64_t) {
        if (op != FsOp::GetAttributes || owner.prompts.empty() || stopped) return;
        stopped = true;
        worker.RequestStop();
    });
    worker.Start(owner);
    RunJob(kJobEncrypt, {"C:\\data"});
    EXPECT_EQ(owner.reports, (Lines{"message : enc canceled : C:\\data\\big.bin"}));
    EXPECT_TRUE(fs.Contents("C:\\data\\big.bin") == PatternSource(3 << 20));
    EXPECT_EQ(fs.AllPaths().size(), 5u);  // the Windows folders, data and big.bin
    ExpectIdleState();
}

// A Stop at any file-system call of a job holds until the job ends: a file
// begun after it is stopped as it opens, and the job names the files left.
// Helpers finish files beside the worker, so a Stop on one of their calls can
// race the worker's last look before the next file.
TEST_F(WorkerTest, AStopAtAnyCallOfAJobHolds) {
    const Lines paths = {"C:\\data\\a.txt", "C:\\data\\b.txt", "C:\\data\\c.txt"};
    for (uint64_t stopAt = 1;; ++stopAt) {
        SCOPED_TRACE(stopAt);
        MemoryFileSystem disk;
        for (const std::string& path : paths) disk.AddFile(path, {1, 2, 3});
        WorkerThread job{disk, texts};
        RecordingOwner watcher;
        size_t begun = 0;  // files begun when the Stop landed
        bool stopped = false;
        disk.OnCall([&](FsOp, uint64_t call) {
            if (call != stopAt) return;
            job.RequestStop();
            stopped = true;
            begun = watcher.PromptCount();
        });
        job.password = "pw";
        job.Start(watcher);
        job.jobPaths = {"C:\\data"};
        job.StartJob(kJobEncrypt);
        ASSERT_TRUE(watcher.WaitForJobs(1));
        if (!stopped) break;  // past the job's last call
        const size_t prompted = watcher.prompts.size();
        ASSERT_LE(prompted - begun, 1u);
        if (prompted > begun) {
            const std::string stopped =
                "message : enc canceled : C:\\data\\" + watcher.prompts.back();
            EXPECT_EQ(watcher.reports.back(), stopped);
        }
        EXPECT_EQ(std::count(watcher.lines.begin(), watcher.lines.end(), "enc canceled"),
                  prompted < paths.size() ? 1 : 0);
        for (const std::string& path : paths) {
            const std::string name = FileNameOf(path, disk.NameCodePage());
            if (std::find(watcher.prompts.begin(), watcher.prompts.end(), name) ==
                watcher.prompts.end()) {
                EXPECT_TRUE(disk.Contents(path) == std::vector<uint8_t>({1, 2, 3})) << path;
            }
        }
    }
}

// No copy of the password outlives its job: the worker's is wiped, and the
// processor's key and key schedule are overwritten; nor does the plain text
// of the last file stay in its buffer.
TEST_F(WorkerTest, ThePasswordLivesForOneJob) {
    fs.AddFile("C:\\data\\x.txt", {1, 2, 3});
    worker.Start(owner);
    jobPassword = "a long secret password";
    RunJob(kJobEncrypt, {"C:\\data"});
    EXPECT_TRUE(worker.password.empty());
    const Cast128& cipher = FileProcessorProbe::Cipher(worker.Processor());
    EXPECT_EQ(std::vector<uint8_t>(cipher.Key(), cipher.Key() + Cast128::kKeySize),
              std::vector<uint8_t>(Cast128::kKeySize, 0));
    // The schedule too: it enciphers as one never keyed, whose words are all 0.
    const Cast128 neverKeyed;
    uint8_t after[8] = {1, 2, 3, 4, 5, 6, 7, 8}, blank[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    cipher.EncryptBlock(after, after);
    neverKeyed.EncryptBlock(blank, blank);
    EXPECT_EQ(std::vector<uint8_t>(after, after + 8), std::vector<uint8_t>(blank, blank + 8));
    const std::vector<uint8_t>& buffer = FileProcessorProbe::Buffer(worker.Processor());
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), ptrdiff_t(buffer.size()));
}

// The processor's count of the last file of one job never shows in the next.
TEST_F(WorkerTest, NoFigureOfTheLastJobAtTheNextStart) {
    fs.AddFile("C:\\data\\x.txt", PatternSource(1000));
    worker.Start(owner);
    RunJob(kJobEncrypt, {"C:\\data"});
    ASSERT_GT(worker.Processor().GetCounters(), 0u);
    uint64_t atStart = 1;
    owner.onLogLine = [&](const std::string& line) {
        if (line == "analysis") atStart = worker.Processor().GetCounters();
    };
    RunJob(kJobDecrypt, {"C:\\data"});
    EXPECT_EQ(atStart, 0u);
}

TEST_F(WorkerTest, QuitWhileIdleEndsWithoutAJob) {
    worker.Start(owner);
    worker.RequestQuit();
    worker.Join();
    EXPECT_EQ(owner.jobsFinished, 0);
    EXPECT_TRUE(owner.lines.empty());
}

// Quit in the middle of a file: the file is abandoned cleanly, the job ends
// with its lines and notice, and then the thread ends.
TEST_F(WorkerTest, QuitDuringAJob) {
    fs.AddFile("C:\\data\\big.bin", PatternSource(3 << 20));
    fs.AddFile("C:\\data\\a.bin", {1});  // collected first, so processed last
    fs.OnCall([&](FsOp op, uint64_t) {
        if (op == FsOp::Read) worker.RequestQuit();  // during big.bin's first chunk
    });
    worker.Start(owner);
    worker.jobPaths = {"C:\\data"};
    worker.StartJob(kJobEncrypt);
    worker.Join();
    EXPECT_EQ(owner.jobsFinished, 1);
    ASSERT_EQ(owner.lines.size(), 5u) << ::testing::PrintToString(owner.lines);
    EXPECT_EQ(owner.lines[2], "message : enc canceled : C:\\data\\big.bin");  // the file's own line
    EXPECT_EQ(owner.lines[3], "enc canceled");
    EXPECT_EQ(owner.lines[4], "enc finished");
    EXPECT_EQ(fs.AllPaths(),
              (Lines{"C:\\Windows", "C:\\Windows\\system32", "C:\\Windows\\system32\\drivers",
                     "C:\\data", "C:\\data\\a.bin", "C:\\data\\big.bin"}));
}

TEST_F(WorkerTest, UnknownOperationOnlyEndsTheJob) {
    worker.Start(owner);
    RunJob(JobKind(3), {"C:\\data"});  // neither kind
    EXPECT_TRUE(owner.lines.empty());
    ExpectIdleState();
}

// Whatever escapes the processor for one file is that file's error line.
TEST_F(WorkerTest, FailuresThatEscapeAreContained) {
    fs.AddFile("C:\\data\\a.txt", {1, 2, 3});
    fs.AddFile("C:\\data\\b.txt", {4, 5, 6});
    bool thrown = false;
    fs.OnCall([&](FsOp op, uint64_t) {
        if (op == FsOp::OpenReadWrite && !thrown) {
            thrown = true;
            throw std::runtime_error("device gone");
        }
    });
    worker.Start(owner);
    RunJob(kJobEncrypt, {"C:\\data"});
    EXPECT_EQ(owner.errors, 1);
    EXPECT_EQ(owner.lines[2], "error : error_unexpected (device gone) : C:\\data\\b.txt");
    EXPECT_TRUE(fs.Exists("C:\\data\\b.txt"));
    EXPECT_FALSE(fs.Exists("C:\\data\\a.txt"));  // the job went on

    // Outside any file it cuts the job short, which still ends as every job.
    fs.OnCall([](FsOp op, uint64_t) {
        if (op == FsOp::Find) throw std::runtime_error("listing gone");
    });
    owner.lines.clear();
    RunJob(kJobEncrypt, {"C:\\data"});
    EXPECT_EQ(owner.lines, (Lines{"enc started", "analysis", "error_unexpected (listing gone)"}));
    EXPECT_FALSE(worker.LastJobWasClean());
    ExpectIdleState();
}

// A small tree goes out and comes back whole.
TEST_F(WorkerTest, TreeRoundTrip) {
    std::map<std::string, std::vector<uint8_t>> tree;
    for (int i = 0; i < 30; ++i) {
        const std::string path =
            "D:\\root\\" + std::to_string(i % 4) + "\\file" + std::to_string(i) + ".dat";
        tree[path] = PatternSource(size_t(i) * 997);
        fs.AddFile(path, tree[path]);
    }
    worker.Start(owner);
    RunJob(kJobEncrypt, {"D:\\root"});
    for (const auto& [path, bytes] : tree) EXPECT_FALSE(fs.Exists(path));
    RunJob(kJobDecrypt, {"D:"});
    for (const auto& [path, bytes] : tree) EXPECT_TRUE(fs.Contents(path) == bytes) << path;
    EXPECT_EQ(owner.errors, 0);
}

// Names whose second bytes are '\' or '|', in a folder named the same way:
// each output lands beside its file under a fresh name and stores the file's
// own name, and decryption brings back every name and content.
TEST(WorkerCodePages, DoubleByteNamesRoundTrip) {
    const std::map<int, std::vector<std::string>> names = {
        {932,
         {"\x83\\\x81[\x83X.c", "\x83\\\x83t\x83g.txt", "\x83\x8C\x83|\x81[\x83g.doc", "\x95\\"}},
        {936, {"\xC4\\.txt", "\xD5\\\xD5|", "a\xB1\\b"}},
        {949, {"\xB0\\\xB0|.hwp", "\xC7\xD1"}},
        {950, {"\xA5\\\xAF\xE0.doc", "\xB3\\\xA5|"}},
        {1252, {"caf\xE9.txt", "\xC9t\xE9"}}};
    for (const auto& [number, files] : names) {
        SCOPED_TRACE(number);
        MemoryFileSystem fs;
        fs.SetCodePage(number);
        const std::string folder = "D:\\" + files[0] + "\\" + files.back();
        std::map<std::string, std::vector<uint8_t>> tree;
        for (size_t i = 0; i < files.size(); ++i) {
            tree[folder + "\\" + files[i]] = PatternSource(i * 500 + 3);
            fs.AddFile(folder + "\\" + files[i], tree[folder + "\\" + files[i]]);
        }
        TextTable texts;
        WorkerThread worker{fs, texts};
        RecordingOwner owner;
        worker.password = "pw";
        worker.Start(owner);
        worker.jobPaths = {"D:\\" + files[0]};
        worker.StartJob(kJobEncrypt);
        ASSERT_TRUE(owner.WaitForJobs(1));

        Cast128 cipher;
        cipher.SetKey("pw");
        std::set<std::string> stored;
        for (const std::string& path : fs.AllPaths()) {
            if (fs.IsFolder(path)) continue;
            EXPECT_EQ(FolderOf(path, fs.NameCodePage()), folder);
            EXPECT_EQ(FileNameOf(path, fs.NameCodePage()).size(), 13u + 4u) << path;
            std::vector<uint8_t> image = fs.Contents(path);
            stored.insert(cpy::OpenNameBlock(cipher, &image[cpy::kKeyCheckSize]));
        }
        EXPECT_EQ(stored, std::set<std::string>(files.begin(), files.end()));

        worker.password = "pw";
        worker.jobPaths = {"D:"};
        worker.StartJob(kJobDecrypt);
        ASSERT_TRUE(owner.WaitForJobs(2));
        for (const auto& [path, bytes] : tree) EXPECT_TRUE(fs.Contents(path) == bytes) << path;
        EXPECT_EQ(owner.reports, Lines{});
        worker.RequestQuit();
        worker.Join();
    }
}

}  // namespace
