// The worker on real folders under Windows (Wine): a tree goes out and comes
// back, and the system's own folders are refused as the system names them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>

#include "engine/worker_thread.h"
#include "fileops/cpy_layout.h"
#include "fs/path_text.h"
#include "platform/full_path.h"
#include "platform/program_paths.h"
#include "platform/win32_code_page.h"
#include "platform/win32_file_system.h"
#include "tests/support/cpy_samples.h"
#include "tests/support/recording_owner.h"
#include "tests/wine/temp_folder.h"

namespace {

class WorkerWineTest : public ::testing::Test {
  protected:
    WorkerWineTest() {
        const ProgramPaths paths = ReadProgramPaths();
        worker.programPath = paths.programPath;
        worker.systemDrive = paths.systemDrive;
        worker.systemDirectory = paths.systemDirectory;
        worker.windowsDirectory = paths.windowsDirectory;
        worker.Start(owner);
    }
    ~WorkerWineTest() override {
        worker.RequestQuit();
        worker.Join();
    }

    // The password is handed over for every job, as the window does.
    void RunJob(JobKind kind, const std::vector<std::string>& paths) {
        worker.password = password;
        worker.jobPaths = paths;
        const int before = owner.jobsFinished;
        worker.StartJob(kind);
        ASSERT_TRUE(owner.WaitForJobs(before + 1));
    }

    TempFolder dir;
    Win32FileSystem fs;
    TextTable texts;
    WorkerThread worker{fs, texts};
    RecordingOwner owner;
    std::string password = "tree password";
};

TEST_F(WorkerWineTest, TreeGoesOutAndComesBack) {
    std::map<std::string, std::vector<uint8_t>> tree;
    for (const char* sub : {"", "\\docs", "\\docs\\old", "\\pics"})
        CreateDirectoryA((dir / "tree" + sub).c_str(), 0);
    const char* const names[] = {"a.txt",       "docs\\b.doc", "docs\\old\\c.bak",
                                 "pics\\d.png", "pics\\e.PNG", "f"};
    for (size_t i = 0; i < 6; ++i) {
        const std::string path = dir / "tree\\" + names[i];
        tree[path] = PatternSource(i * 40000 + 3);
        WriteWholeFile(path, tree[path]);
    }
    worker.Processor().wipeZero = true;
    RunJob(kJobEncrypt, {dir / "tree"});
    std::vector<std::string> encrypted;
    ListTree(dir / "tree", &encrypted);
    ASSERT_EQ(encrypted.size(), tree.size());
    for (const auto& path : encrypted) EXPECT_EQ(path.substr(path.size() - 4), ".cpy") << path;

    RunJob(kJobDecrypt, {dir / "tree"});
    std::vector<std::string> restored;
    ListTree(dir / "tree", &restored);
    EXPECT_EQ(restored.size(), tree.size());
    for (const auto& [path, bytes] : tree) EXPECT_TRUE(ReadWholeFile(path) == bytes) << path;
    EXPECT_EQ(owner.errors, 0) << ::testing::PrintToString(owner.lines);
}

// Names of the system's code page: in 932 the second byte of ソ, 表, 能 and
// 予 is '\', of ポ '|'. The suite runs once under each locale.
std::vector<std::string> CodePageNames() {
    switch (GetACP()) {
        case 932:
            return {"\x83\\\x83t\x83g", "\x83\\\x81[\x83X.c", "\x83\x8C\x83|\x81[\x83g.doc",
                    "\x95\\.xls", "\x94\\\x97\\"};
        case 1252:
            return {"Caf\xE9", "caf\xE9.txt", "\xC9t\xE9 \xDF.doc"};
        default:
            return {};
    }
}

TEST_F(WorkerWineTest, NamesOfTheSystemCodePageGoOutAndComeBack) {
    const char* locale = getenv("LC_ALL");
    if (locale && std::string(locale).rfind("ja_JP", 0) == 0) {
        EXPECT_EQ(GetACP(), 932u);
    }
    const std::vector<std::string> names = CodePageNames();
    ASSERT_FALSE(names.empty()) << "code page " << GetACP()
                                << ": run under LC_ALL=ja_JP.UTF-8 or en_US.UTF-8";
    const std::string folder = dir / names[0];
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::map<std::string, std::vector<uint8_t>> files;
    for (size_t i = 1; i < names.size(); ++i) {
        files[names[i]] = PatternSource(i * 3000 + 5);
        WriteWholeFile(folder + "\\" + names[i], files[names[i]]);
    }
    RunJob(kJobEncrypt, {folder});
    std::vector<std::string> outputs;
    ListTree(folder, &outputs);
    ASSERT_EQ(outputs.size(), files.size());
    Cast128 cipher;
    cipher.SetKey(password);
    for (const std::string& path : outputs) {
        EXPECT_EQ(FolderOf(path, fs.NameCodePage()), folder);
        EXPECT_EQ(FileNameOf(path, fs.NameCodePage()).size(), 13u + 4u) << path;
        std::vector<uint8_t> image = ReadWholeFile(path);
        ASSERT_GE(image.size(), cpy::kHeaderSize);
        EXPECT_EQ(files.count(cpy::OpenNameBlock(cipher, &image[cpy::kKeyCheckSize])), 1u);
    }
    RunJob(kJobDecrypt, {folder});
    for (const auto& [name, bytes] : files) {
        EXPECT_TRUE(ReadWholeFile(folder + "\\" + name) == bytes) << name;
    }
    EXPECT_EQ(owner.reports, std::vector<std::string>{});
}

// Names the code page spells only by look-alikes (best fit makes
// "..＼victim.txt" "..\\victim.txt" in 1252, and "..¥victim.txt" in 932,
// which has "＼" itself), made as UTF-16 in a folder below victim.txt, walked
// and queued as the listing spells them: each is named in the log and left,
// and nothing outside the folder is touched.
TEST_F(WorkerWineTest, NamesTheCodePageOnlyApproximatesStayInTheirFolder) {
    struct Name {
        std::wstring name;
        bool spelled;
    };
    const std::map<unsigned, std::vector<Name>> byCodePage = {
        {932, {{L"..\u00A5victim.txt", false}, {L"..\uFF3Cvictim.txt", true}}},
        {1252,
         {{L"..\uFF3Cvictim.txt", false},
          {L"..\u2216victim.txt", false},
          {L"\uFF0E\uFF0E\uFF3Cvictim.txt", false}}}};
    ASSERT_EQ(byCodePage.count(GetACP()), 1u) << "code page " << GetACP();
    const std::vector<Name>& names = byCodePage.at(GetACP());
    const std::vector<uint8_t> victim = PatternSource(100);
    WriteWholeFile(dir / "victim.txt", victim);
    const std::string folder = dir / "inner";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::wstring in = WideFromSystem(folder + "\\");
    std::vector<std::string> unspelled;
    for (size_t i = 0; i < names.size(); ++i) {
        WriteWideFile(in + names[i].name, PatternSource(i + 10));
        std::string listed;
        EXPECT_EQ(SystemFromWide(names[i].name, &listed), names[i].spelled);
        if (!names[i].spelled) unspelled.push_back(folder + "\\" + listed);
    }
    std::sort(unspelled.begin(), unspelled.end());
    worker.Processor().wipeZero = true;
    for (const std::vector<std::string>& queued : {std::vector<std::string>{folder}, unspelled}) {
        owner.lines.clear();
        RunJob(kJobEncrypt, queued);
        std::vector<std::string> named;
        const std::string key = "message_name_not_in_code_page : ";
        for (const std::string& line : owner.lines) {
            if (line.compare(0, key.size(), key) == 0) named.push_back(line.substr(key.size()));
        }
        std::sort(named.begin(), named.end());
        EXPECT_EQ(named, unspelled);
        EXPECT_TRUE(ReadWholeFile(dir / "victim.txt") == victim);
        for (size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(ReadWideFile(in + names[i].name) == PatternSource(i + 10), !names[i].spelled)
                << i;
        }
    }
    RunJob(kJobDecrypt, {folder});
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_TRUE(ReadWideFile(in + names[i].name) == PatternSource(i + 10)) << i;
    }
    EXPECT_TRUE(ReadWholeFile(dir / "victim.txt") == victim);
}

// Refused however a user spells them, once the intake has made the path
// canonical: "C:/Windows", "c:\\windows\\", "C:\\Windows\\..\\Windows", "C:\\".
TEST_F(WorkerWineTest, SystemFoldersAsTheSystemNamesThem) {
    const ProgramPaths paths = ReadProgramPaths();
    ASSERT_FALSE(paths.systemDrive.empty());
    const auto slashed = [](std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    };
    const auto upper = [](std::string path) {
        CharUpperA(&path[0]);
        return path;
    };
    const std::string windowsName = FileNameOf(paths.windowsDirectory, fs.NameCodePage());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {paths.systemDirectory, "error_directory_system"},
        {slashed(paths.systemDirectory) + "/", "error_directory_system"},
        {paths.windowsDirectory, "error_directory_windows"},
        {slashed(paths.windowsDirectory), "error_directory_windows"},
        {upper(paths.windowsDirectory) + "\\", "error_directory_windows"},
        {paths.windowsDirectory + "\\..\\" + windowsName, "error_directory_windows"},
        {paths.systemDrive, "error_directory_systemroot"},
        {paths.systemDrive + "\\", "error_directory_systemroot"},
        {slashed(paths.systemDrive + "\\"), "error_directory_systemroot"}};
    for (const auto& [typed, line] : cases) {
        SCOPED_TRACE(typed);
        owner.lines.clear();
        RunJob(kJobEncrypt, {CanonicalPath(typed)});
        ASSERT_EQ(owner.lines.size(), 4u);
        EXPECT_EQ(owner.lines[2], line);
        EXPECT_TRUE(owner.prompts.empty());
    }
}

}  // namespace
