// A read-only ".cpy" file in a decryption job: left alone unless the
// WriteReadOnly option is on, and read-only again after any failure.
#include "tests/support/cpy_samples.h"
#include "tests/wine/job_rig.h"

namespace {

class ReadOnlyCpyTest : public JobRig {
  protected:
    TempFolder dir;
};

TEST_F(ReadOnlyCpyTest, DecryptedOnlyWithTheOption) {
    struct Case {
        bool writeReadOnly;
        const char* password;
        const char* report;  // nullptr: decrypted
        const char* kind;
    };
    const Case cases[] = {
        {false, "fault password", "message_file_attributes_failed", "message"},
        {true, "wrong password", "error_password_missing", "error"},
        {true, "fault password", nullptr, nullptr},
    };
    const std::string job = dir / "job";
    CreateDirectoryA(job.c_str(), nullptr);
    const std::string source = job + "\\notes.txt";
    const auto content = PatternSource(300001);
    WriteWholeFile(source, content);
    RunJob(kJobEncrypt, source);
    std::vector<std::string> files;
    ListTree(job, &files);
    ASSERT_EQ(files.size(), 1u);
    const std::string cpyPath = files[0];
    ASSERT_TRUE(fs.SetAttributes(cpyPath, attr::kReadOnly | attr::kArchive));
    const auto before = Snapshot(job);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.password + std::string(c.writeReadOnly ? " with" : " without"));
        worker.Processor().writeReadOnly = c.writeReadOnly;
        password = c.password;
        RunJob(kJobDecrypt, cpyPath);
        if (c.report) {
            EXPECT_EQ(owner.reports, std::vector<std::string>{Line(c.kind, c.report, cpyPath)});
            EXPECT_TRUE(Snapshot(job) == before);
        } else {
            EXPECT_TRUE(owner.reports.empty()) << owner.reports[0];
            const auto after = Snapshot(job);
            ASSERT_EQ(after.size(), 1u);
            EXPECT_TRUE(after.at(source).bytes == content);
            EXPECT_EQ(after.at(source).attributes, before.at(cpyPath).attributes);
        }
    }
}

}  // namespace
