// Jobs ended abruptly, as by a crash: run_job.exe is killed with
// TerminateProcess at chosen moments of a job over one large file and many
// small ones, in both directions. After each kill every file is whole under
// its final name (a ".cpy" file holds the whole of its original) and at most
// one unfinished output is left; a new start then finishes the job.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

#include "engine/worker_thread.h"
#include "fileops/cpy_layout.h"
#include "fileops/output_name.h"
#include "fs/path_text.h"
#include "platform/win32_code_page.h"
#include "tests/support/cpy_samples.h"
#include "tests/wine/beside_this_program.h"
#include "tests/wine/temp_folder.h"

namespace {

const char* const kPassword = "crash password";
const uint64_t kMiB = 1 << 20;

struct Original {
    std::string folder, name;  // folder below the tree
    std::vector<uint8_t> content, image;
};

// The large file sits in a subfolder, so the job does it first; the small
// ones are done after it.
const std::vector<Original>& Originals() {
    static const std::vector<Original> originals = [] {
        std::vector<Original> o = {{"\\large", "large.bin", PatternSource(40 * kMiB + 5), {}}};
        for (int i = 0; i < 150; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "f%03d.txt", i);
            o.push_back({"", name, PatternSource(size_t(i) * 211 % 5000), {}});
        }
        Cast128 cipher;
        cipher.SetKey(kPassword);
        for (Original& each : o) each.image = BuildImage(cipher, each.name, each.content);
        return o;
    }();
    return originals;
}

// The tree as a job of that direction finds it: the originals, or their
// ".cpy" files.
void LayOut(const std::string& tree, bool encrypt) {
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA((tree + "\\large").c_str(), nullptr);
    for (const Original& o : Originals()) {
        const std::string path = tree + o.folder + "\\" + o.name;
        if (encrypt) WriteWholeFile(path, o.content);
        if (!encrypt) WriteWholeFile(path + ".cpy", o.image);
    }
}

std::string StoredName(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < cpy::kHeaderSize) return "";
    Cast128 cipher;
    cipher.SetKey(kPassword);
    uint8_t block[cpy::kNameBlockSize];
    std::copy_n(bytes.begin() + cpy::kKeyCheckSize, sizeof block, block);
    return cpy::OpenNameBlock(cipher, block);
}

// Per original: how many whole plain copies and whole ".cpy" files of it
// are in its folder. Anything else must be an unfinished output.
struct Remains {
    std::map<std::string, int> plain, cpy;
    std::vector<std::string> temporaries, strays;
};

Remains Survey(const std::string& tree) {
    std::map<std::string, const Original*> byName;
    for (const Original& o : Originals()) byName[o.name] = &o;
    std::vector<std::string> paths;
    ListTree(tree, &paths);
    Remains r;
    for (const std::string& path : paths) {
        if (IsTemporaryPath(path)) {
            r.temporaries.push_back(path);
            continue;
        }
        const bool isCpy = EndsInCpy(path);
        const std::vector<uint8_t> bytes = ReadWholeFile(path);
        const auto found =
            byName.find(isCpy ? StoredName(bytes) : FileNameOf(path, SystemCodePage()));
        const Original* o = found == byName.end() ? nullptr : found->second;
        if (o && FolderPrefixOf(path, SystemCodePage()) == tree + o->folder + "\\" &&
            bytes == (isCpy ? o->image : o->content)) {
            ++(isCpy ? r.cpy : r.plain)[o->name];
        } else {
            r.strays.push_back(path);
        }
    }
    return r;
}

uint64_t SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Files directly in folder that a job of that direction gives final names.
int FinishedOutputs(const std::string& folder, bool encrypt) {
    std::vector<std::string> paths;
    ListTree(folder, &paths);
    return int(std::count_if(paths.begin(), paths.end(), [&](const std::string& path) {
        return FolderPrefixOf(path, SystemCodePage()) == folder + "\\" && !IsTemporaryPath(path) &&
               EndsInCpy(path) == encrypt;
    }));
}

uint64_t LargestUnfinished(const std::string& folder) {
    std::vector<std::string> paths;
    ListTree(folder, &paths);
    uint64_t largest = 0;
    for (const std::string& path : paths) {
        if (IsTemporaryPath(path)) largest = std::max(largest, SizeOf(path));
    }
    return largest;
}

struct Moment {
    const char* what;
    std::function<bool(const std::string& tree, bool encrypt)> reached;
    bool midFile;  // a file's output is unfinished at this moment
};

const Moment kMoments[] = {
    {"midway through the large file",
     [](const std::string& tree, bool) { return LargestUnfinished(tree + "\\large") >= 8 * kMiB; },
     true},
    {"as the large file's output gets its name",
     [](const std::string& tree, bool encrypt) {
         return FinishedOutputs(tree + "\\large", encrypt) > 0;
     },
     false},
    {"amid the small files",
     [](const std::string& tree, bool encrypt) { return FinishedOutputs(tree, encrypt) >= 40; },
     false},
};

// run_job.exe working on the tree, killed if still running at the end.
class JobProcess {
  public:
    JobProcess(bool encrypt, const std::string& tree) {
        std::string command = "\"" + BesideThisProgram("run_job.exe") + "\" " +
                              (encrypt ? "encrypt" : "decrypt") + " \"" + tree + "\" \"" +
                              kPassword + "\"";
        STARTUPINFOA start = {};
        start.cb = sizeof start;
        started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &start, &info) != 0;
    }
    ~JobProcess() {
        if (!started) return;
        Kill();
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    bool Running() const { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    void Kill() {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 10000);
    }
    // Its exit code: the number of report lines of the job.
    DWORD Finish() {
        DWORD code = 999;
        if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0)
            GetExitCodeProcess(info.hProcess, &code);
        return code;
    }

    bool started = false;

  private:
    PROCESS_INFORMATION info = {};
};

// Watches the tree until the moment comes; false if the job ended first.
bool KillAt(JobProcess& job, const Moment& moment, const std::string& tree, bool encrypt) {
    for (DWORD begun = GetTickCount(); GetTickCount() - begun < 120000; Sleep(1)) {
        if (!job.Running()) return false;
        if (moment.reached(tree, encrypt)) {
            job.Kill();
            return true;
        }
    }
    return false;
}

int Count(const std::map<std::string, int>& found, const std::string& name) {
    const auto it = found.find(name);
    return it == found.end() ? 0 : it->second;
}

// Every original whole, in plain or as its one ".cpy" file, or both; an
// unfinished output for the file being written and each waiting to be finished.
void CheckCrashed(const Remains& r) {
    EXPECT_TRUE(r.strays.empty()) << ::testing::PrintToString(r.strays);
    EXPECT_LE(r.temporaries.size(), 1u + WorkerThread::kFilesFinishedBehind);
    for (const Original& o : Originals()) {
        const int plain = Count(r.plain, o.name), cpyFiles = Count(r.cpy, o.name);
        EXPECT_TRUE(plain + cpyFiles >= 1 && plain <= 1 && cpyFiles <= 1) << o.name;
    }
}

// Every file done once; one caught with both forms on disk comes through
// twice (a second ".cpy" file), or keeps its ".cpy" file and says so.
void CheckRestarted(const Remains& r, const Remains& crashed, bool encrypt, DWORD reports) {
    EXPECT_TRUE(r.strays.empty()) << ::testing::PrintToString(r.strays);
    EXPECT_EQ(r.temporaries, crashed.temporaries);
    int caughtBetween = 0;
    for (const Original& o : Originals()) {
        SCOPED_TRACE(o.name);
        const bool between = Count(crashed.plain, o.name) && Count(crashed.cpy, o.name);
        caughtBetween += between;
        EXPECT_EQ(Count(r.plain, o.name), encrypt ? 0 : 1);
        EXPECT_EQ(Count(r.cpy, o.name), encrypt ? 1 + between : int(between));
    }
    EXPECT_EQ(reports, DWORD(encrypt ? 0 : caughtBetween));
}

void CrashAndRestart(bool encrypt) {
    for (const Moment& moment : kMoments) {
        SCOPED_TRACE(moment.what);
        TempFolder dir;
        const std::string tree = dir / "tree";
        LayOut(tree, encrypt);
        JobProcess job(encrypt, tree);
        ASSERT_TRUE(job.started);
        ASSERT_TRUE(KillAt(job, moment, tree, encrypt)) << "the job ended before the moment";
        const Remains crashed = Survey(tree);
        CheckCrashed(crashed);
        if (moment.midFile) {
            EXPECT_EQ(crashed.temporaries.size(), 1u);
        }

        JobProcess again(encrypt, tree);
        ASSERT_TRUE(again.started);
        CheckRestarted(Survey(tree), crashed, encrypt, again.Finish());
    }
}

TEST(InterruptedJob, Encryption) { CrashAndRestart(true); }

TEST(InterruptedJob, Decryption) { CrashAndRestart(false); }

}  // namespace
