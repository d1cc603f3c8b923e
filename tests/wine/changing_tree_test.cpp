// A tree that changes under a job, or that the job may not read: what it
// cannot do is said in the log, and the rest of the tree is done.
#include <algorithm>
#include <cstdlib>

#include "fs/path_text.h"
#include "platform/win32_code_page.h"
#include "tests/support/cpy_samples.h"
#include "tests/wine/job_rig.h"

namespace {

class ChangingTreeTest : public JobRig {
  protected:
    // After a job of kind: n files below folder, every one of them done.
    void ExpectDone(const std::string& folder, JobKind kind, size_t n) {
        std::vector<std::string> files;
        ListTree(folder, &files);
        EXPECT_EQ(files.size(), n);
        for (const auto& path : files)
            EXPECT_EQ(EndsWith(path, ".cpy"), kind == kJobEncrypt) << path;
    }

    bool Logged(const std::string& line) const {
        return std::find(owner.lines.begin(), owner.lines.end(), line) != owner.lines.end();
    }

    TempFolder dir;
};

// Another program deletes a file after the job has listed it.
TEST_F(ChangingTreeTest, FileDeletedBeforeItsTurn) {
    const std::string tree = dir / "tree";
    CreateDirectoryA(tree.c_str(), nullptr);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        WriteWholeFile(tree + "\\" + name, PatternSource(70000));
    std::string victim;
    owner.onPrompt = [&](const std::string& name) {
        if (!victim.empty()) return;
        std::vector<std::string> files;
        ListTree(tree, &files);
        victim = FileNameOf(files[0], SystemCodePage()) == name ? files[1] : files[0];
        DeleteFileA(victim.c_str());
    };
    size_t left = 3;
    for (JobKind kind : {kJobEncrypt, kJobDecrypt}) {
        SCOPED_TRACE(kind);
        victim.clear();
        RunJob(kind, tree);
        EXPECT_EQ(owner.reports,
                  std::vector<std::string>{Line("message", "message_file_open_failed", victim)});
        ExpectDone(tree, kind, --left);
    }
}

// A backup's hard link shares a file's contents: the file is left as it is
// by a job with both wipes, and its other name keeps every byte.
TEST_F(ChangingTreeTest, FileWithAnotherNameIsLeftWhole) {
    const std::string tree = dir / "tree";
    CreateDirectoryA(tree.c_str(), nullptr);
    const auto content = PatternSource(70000);
    WriteWholeFile(tree + "\\linked.txt", content);
    WriteWholeFile(tree + "\\plain.txt", content);
    const std::string backup = dir / "backup.txt";
    ASSERT_TRUE(CreateHardLinkA(backup.c_str(), (tree + "\\linked.txt").c_str(), nullptr));
    worker.Processor().wipeZero = worker.Processor().wipeRandom = true;
    RunJob(kJobEncrypt, tree);
    EXPECT_EQ(owner.reports, std::vector<std::string>{
                                 Line("error", "error_file_has_links", tree + "\\linked.txt")});
    EXPECT_TRUE(ReadWholeFile(backup) == content);
    EXPECT_TRUE(ReadWholeFile(tree + "\\linked.txt") == content);
    std::vector<std::string> files;
    ListTree(tree, &files);
    EXPECT_EQ(files.size(), 2u);  // linked.txt and the ".cpy" file of plain.txt
}

// A folder no one may list, made by fault_jobs.sh: inside a tree it is named
// in the log and passed over; queued itself, it refuses the job.
TEST_F(ChangingTreeTest, FolderThatCannotBeListed) {
    const char* shutTree = std::getenv("TARNU_SHUT_TREE");
    ASSERT_NE(shutTree, nullptr) << "run through fault_jobs.sh, which makes the folder";
    const std::string tree = shutTree;
    const std::string shut = tree + "\\mid\\shut";
    const std::string refused = texts.LookupText("message_file_seek_failed");
    for (JobKind kind : {kJobEncrypt, kJobDecrypt}) {
        SCOPED_TRACE(kind);
        RunJob(kind, tree);
        EXPECT_TRUE(owner.reports.empty()) << owner.reports[0];
        EXPECT_TRUE(Logged(refused + " : " + shut)) << ::testing::PrintToString(owner.lines);
        ExpectDone(tree, kind, 3);

        RunJob(kind, shut);
        EXPECT_TRUE(Logged(refused)) << ::testing::PrintToString(owner.lines);
        EXPECT_TRUE(owner.prompts.empty());
    }
}

}  // namespace
