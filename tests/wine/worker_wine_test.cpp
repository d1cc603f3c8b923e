// The worker on real folders under Windows (Wine): a tree goes out and comes
// back, and the system's own folders are refused as the system names them.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "engine/worker_thread.h"
#include "platform/program_paths.h"
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
        worker.password = "tree password";
        worker.Start(owner);
    }
    ~WorkerWineTest() override {
        worker.RequestQuit();
        worker.Join();
    }

    void RunJob(int kind, const std::vector<std::string>& paths) {
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

TEST_F(WorkerWineTest, SystemFoldersAsTheSystemNamesThem) {
    const ProgramPaths paths = ReadProgramPaths();
    ASSERT_FALSE(paths.systemDrive.empty());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {paths.systemDirectory, "error_directory_system"},
        {paths.windowsDirectory, "error_directory_windows"},
        {paths.systemDrive, "error_directory_systemroot"}};
    for (const auto& [queued, line] : cases) {
        SCOPED_TRACE(queued);
        owner.lines.clear();
        RunJob(kJobEncrypt, {queued});
        ASSERT_EQ(owner.lines.size(), 4u);
        EXPECT_EQ(owner.lines[2], line);
        EXPECT_TRUE(owner.prompts.empty());
    }
}

}  // namespace
