// A file that another process holds open while a job runs: the job reports
// it, leaves it exactly as it was and does the rest of its files.
#include "tests/support/cpy_samples.h"
#include "tests/wine/beside_this_program.h"
#include "tests/wine/job_rig.h"

namespace {

// Another process holding path open, shared with no one, until destroyed.
class OtherProcessHold {
  public:
    explicit OtherProcessHold(const std::string& path) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE childIn = nullptr, childOut = nullptr;
        if (!CreatePipe(&childIn, &toChild, &inherit, 0)) return;
        if (!CreatePipe(&fromChild, &childOut, &inherit, 0)) return;
        SetHandleInformation(toChild, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(fromChild, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA start = {};
        start.cb = sizeof start;
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = childIn;
        start.hStdOutput = childOut;
        std::string command = "\"" + BesideThisProgram("hold_open.exe") + "\" \"" + path + "\"";
        const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0,
                                            nullptr, nullptr, &start, &child);
        CloseHandle(childIn);
        CloseHandle(childOut);
        if (started) answer = ReadAnswer();
    }
    ~OtherProcessHold() {
        if (toChild) CloseHandle(toChild);  // its input ends: it lets go
        if (child.hProcess) {
            WaitForSingleObject(child.hProcess, 10000);
            CloseHandle(child.hProcess);
            CloseHandle(child.hThread);
        }
        if (fromChild) CloseHandle(fromChild);
    }

    std::string answer;  // "held" once the file is held

  private:
    std::string ReadAnswer() {
        std::string text;
        char c = 0;
        DWORD got = 0;
        while (ReadFile(fromChild, &c, 1, &got, nullptr) && got == 1 && c != '\n') text += c;
        return text;
    }

    HANDLE toChild = nullptr, fromChild = nullptr;
    PROCESS_INFORMATION child = {};
};

class HeldFileTest : public JobRig {
  protected:
    // A tree of three files, in two folders.
    void MakeTree() {
        CreateDirectoryA((dir / "tree").c_str(), nullptr);
        CreateDirectoryA((dir / "tree\\sub").c_str(), nullptr);
        WriteWholeFile(dir / "tree\\a.txt", PatternSource(1000));
        WriteWholeFile(dir / "tree\\sub\\b.doc", PatternSource(3 << 20));
        WriteWholeFile(dir / "tree\\sub\\c.png", PatternSource(7));
    }

    // Runs a job while another process holds path; checks the one report,
    // that path is untouched, and that every other file was done.
    void ExpectHeldFileSkipped(JobKind kind, const std::string& path) {
        const auto before = Snapshot(dir / "tree");
        {
            OtherProcessHold hold(path);
            ASSERT_EQ(hold.answer, "held") << path;
            RunJob(kind, dir / "tree");
        }
        EXPECT_EQ(owner.reports,
                  std::vector<std::string>{Line("message", "message_file_open_failed", path)});
        const auto after = Snapshot(dir / "tree");
        ASSERT_EQ(after.size(), before.size());
        EXPECT_TRUE(after.at(path) == before.at(path));
        for (const auto& [other, state] : after) {
            if (other == path) continue;
            EXPECT_EQ(EndsWith(other, ".cpy"), kind == kJobEncrypt) << other;
            EXPECT_EQ(before.count(other), 0u) << other << " was not done";
        }
    }

    TempFolder dir;
};

TEST_F(HeldFileTest, SourceHeldByAnotherProcess) {
    MakeTree();
    ExpectHeldFileSkipped(kJobEncrypt, dir / "tree\\sub\\b.doc");
}

TEST_F(HeldFileTest, EncryptedFileHeldByAnotherProcess) {
    MakeTree();
    RunJob(kJobEncrypt, dir / "tree");
    ASSERT_TRUE(owner.reports.empty()) << owner.reports[0];
    std::vector<std::string> encrypted;
    ListTree(dir / "tree\\sub", &encrypted);
    ASSERT_EQ(encrypted.size(), 2u);
    ExpectHeldFileSkipped(kJobDecrypt, encrypted[0]);
}

}  // namespace
