// Whole jobs through the worker (collection, then every file) with one I/O
// call failing, for every call of a clean job and every kind of fault. After
// each: every file is either as it was or completely turned into its
// counterpart, nothing else is on disk, nothing outside the job was touched,
// every file that did not get through has its one line (a file never tried,
// its folder's), the worker is idle, and the command line's exit status says
// whether everything was done (the jobs run as tarnu-cli runs them).
//
// Then the same jobs stopped dead after every call in turn, as by a crash or
// a power loss, and started again on what was left.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <sstream>

#include "cli/console_job.h"
#include "engine/worker_thread.h"
#include "fileops/output_name.h"
#include "fs/path_text.h"
#include "tests/support/cpy_samples.h"
#include "tests/support/fault_kinds.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/recording_owner.h"

namespace {

const char* const kPassword = "pw";
const char* const kOutside = "C:\\other\\keep.txt";
const std::vector<std::string> kFolders = {"C:\\job", "C:\\job\\sub", "C:\\other"};

struct Original {
    std::string folder, name;
    std::vector<uint8_t> content;
    uint32_t attributes;
    std::vector<uint8_t> image;  // its ".cpy" file
    std::string Path() const { return folder + "\\" + name; }
    std::string CpyPath() const { return folder + "\\" + name + ".cpy"; }
};

const std::vector<Original>& Tree() {
    static const std::vector<Original> tree = [] {
        std::vector<Original> t = {
            {"C:\\job", "empty.txt", {}, attr::kArchive, {}},
            {"C:\\job", "big.bin", PatternSource((1 << 20) + 5), attr::kArchive, {}},
            {"C:\\job", "locked.txt", PatternSource(17), attr::kReadOnly, {}},
            {"C:\\job\\sub", "note.txt", PatternSource(300), attr::kArchive, {}}};
        Cast128 cipher;
        cipher.SetKey(kPassword);
        for (Original& o : t) o.image = BuildImage(cipher, o.name, o.content);
        return t;
    }();
    return tree;
}

class SweepOwner : public RecordingOwner {
  public:
    void ReportLine(const std::string& line, ReportKind kind) override {
        ++reports;
        RecordingOwner::ReportLine(line, kind);
    }
    std::atomic<int> reports{0};
};

// Hands every call of the worker to the recording owner and to tarnu-cli's.
class ForkOwner : public WorkerOwner {
  public:
    ForkOwner(SweepOwner& recording, ConsoleOwner& console)
        : recording(recording), console(console) {}
    void AddLogLine(const std::string& text) override {
        recording.AddLogLine(text);
        console.AddLogLine(text);
    }
    void ReportLine(const std::string& line, ReportKind kind) override {
        recording.ReportLine(line, kind);
        console.ReportLine(line, kind);
    }
    void SetPromptText(const std::string& text) override {
        recording.SetPromptText(text);
        console.SetPromptText(text);
    }
    void JobFinished() override {
        recording.JobFinished();
        console.JobFinished();
    }
    JobProgress& Progress() override { return recording.Progress(); }

  private:
    SweepOwner& recording;
    ConsoleOwner& console;
};

// One job over a fresh disk holding the tree, plain or encrypted, with the
// faults that plan sets; or over the disk that a crashed job left.
struct Job {
    Job(JobKind kind, const std::function<void(MemoryFileSystem&)>& plan, bool wipes = false)
        : wipes(wipes) {
        fs.AddFile(kOutside, {1, 2, 3});
        for (const Original& o : Tree()) {
            if (kind == kJobEncrypt) fs.AddFile(o.Path(), o.content, o.attributes);
            if (kind == kJobDecrypt) fs.AddFile(o.CpyPath(), o.image, o.attributes);
        }
        plan(fs);
        Run(kind);
    }
    Job(JobKind kind, const MemoryFileSystem& left) {
        fs.CopyDisk(left);
        Run(kind);
    }
    ~Job() {
        worker.RequestQuit();
        worker.Join();
    }
    void Run(JobKind kind) {
        CliOptions options;
        options.command = kind == kJobEncrypt ? CliCommand::kEncrypt : CliCommand::kDecrypt;
        options.paths = {"C:\\job"};
        options.writeReadOnly = true;
        // A wipe cut off leaves the original neither whole nor gone.
        options.wipeZero = options.wipeRandom = wipes;
        worker.Start(fork);
        std::string password = kPassword;
        status = RunConsoleJob(worker, console, options, password);
        finished = owner.WaitForJobs(1);
    }
    bool Attempted(const std::string& name) const {
        return std::find(owner.prompts.begin(), owner.prompts.end(), name) != owner.prompts.end();
    }

    bool wipes = false;
    MemoryFileSystem fs;
    TextTable texts;
    SweepOwner owner;
    std::ostringstream printed;
    ConsoleOwner console{printed, texts, false};
    ForkOwner fork{owner, console};
    WorkerThread worker{fs, texts};
    bool finished = false;
    int status = -1;
};

// A file at path with exactly these bytes and attributes.
bool Holds(const Job& job, const std::string& path, const std::vector<uint8_t>& bytes,
           uint32_t attributes) {
    return job.fs.Exists(path) && job.fs.Contents(path) == bytes &&
           job.fs.Status(path).attributes == (attributes ? attributes : attr::kNormal);
}

// A file the job never tried has a line saying which listing failed, so it
// is not taken for done: a refusal of the whole job, or its folder's line.
bool Explained(const Job& job, const Original& o) {
    const std::string key = "message_file_seek_failed";
    for (const std::string& line : job.owner.lines) {
        if (line == key) return true;
        const std::string folder = line.substr(std::min(line.size(), key.size() + 3));
        if (line.compare(0, key.size(), key) == 0 &&
            o.Path().compare(0, folder.size() + 1, folder + "\\") == 0)
            return true;
    }
    return false;
}

// The checks shared by both directions; `from` and `to` give each original's
// path before and after the job, `before` and `after` its bytes.
template <typename From, typename To, typename Before, typename After>
void CheckJob(Job& job, From from, To to, Before before, After after) {
    ASSERT_TRUE(job.finished);
    EXPECT_EQ(job.fs.OpenHandleCount(), 0);
    EXPECT_TRUE(job.worker.jobPaths.empty());
    EXPECT_EQ(job.owner.progress.total, 0u);
    EXPECT_EQ(job.owner.progress.done, 0u);
    EXPECT_TRUE(Holds(job, kOutside, {1, 2, 3}, attr::kArchive));

    std::vector<std::string> expected = kFolders;
    expected.push_back(kOutside);
    int failed = 0;
    bool allDone = true;
    for (const Original& o : Tree()) {
        SCOPED_TRACE(o.name);
        const bool kept = Holds(job, from(o), before(o), o.attributes);
        const bool done = Holds(job, to(o), after(o), o.attributes);
        if (kept) expected.push_back(from(o));
        if (done) expected.push_back(to(o));
        allDone = allDone && done && !kept;
        EXPECT_TRUE(kept || done);
        const bool attempted = job.Attempted(FileNameOf(from(o), job.fs.NameCodePage()));
        if (!attempted) {
            EXPECT_TRUE(kept && !done);
            EXPECT_TRUE(Explained(job, o));
        }
        // Kept after an attempt: it failed, and says so once (even when only
        // the removal of the original was refused).
        if (kept && attempted) ++failed;
    }
    EXPECT_EQ(job.fs.AllPaths(), Sorted(expected));
    EXPECT_EQ(job.owner.reports, failed);
    // Success is never claimed for a job that left a file undone.
    EXPECT_TRUE(job.status == 1 || (job.status == 0 && allDone)) << job.printed.str();
}

// Encryption names its outputs at random; give each back its original's name.
void NameOutputsAfterOriginals(Job& job) {
    for (const std::string& path : job.fs.AllPaths()) {
        for (const Original& o : Tree()) {
            if (path.size() > 4 && path.compare(path.size() - 4, 4, ".cpy") == 0 &&
                job.fs.Contents(path) == o.image &&
                FolderPrefixOf(path, job.fs.NameCodePage()) == o.folder + "\\") {
                const uint32_t attributes = job.fs.Status(path).attributes;
                job.fs.SetAttributes(path, attr::kNormal);
                job.fs.Move(path, o.CpyPath());
                job.fs.SetAttributes(o.CpyPath(), attributes);
            }
        }
    }
}

// Under the sanitizers a job is slow: every call still fails, with the four
// kinds of fault in turn rather than each.
#ifdef __SANITIZE_ADDRESS__
const bool kEveryKindAtEveryCall = false;
#else
const bool kEveryKindAtEveryCall = true;
#endif

bool Tried(FsFault fault, uint64_t call) {
    return kEveryKindAtEveryCall || int(fault) == int(call % 4);
}

uint64_t CleanJobCalls(JobKind kind, bool wipes = false) {
    Job clean(
        kind, [](MemoryFileSystem&) {}, wipes);
    EXPECT_EQ(clean.owner.reports, 0);
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.owner.prompts.size(), Tree().size());
    ::testing::Test::RecordProperty("calls", std::to_string(clean.fs.CallCount()));
    return clean.fs.CallCount();
}

TEST(JobFaultSweep, Encryption) {
    const uint64_t calls = CleanJobCalls(kJobEncrypt);
    for (uint64_t n = 1; n <= calls; ++n) {
        for (const FsFault fault : kAllFaults) {
            if (!Tried(fault, n)) continue;
            SCOPED_TRACE(FaultTrace(fault, n));
            Job job(kJobEncrypt, [&](MemoryFileSystem& fs) { fs.FailCall(n, fault); });
            NameOutputsAfterOriginals(job);
            CheckJob(
                job, [](const Original& o) { return o.Path(); },
                [](const Original& o) { return o.CpyPath(); },
                [](const Original& o) { return o.content; },
                [](const Original& o) { return o.image; });
        }
    }
}

TEST(JobFaultSweep, Decryption) {
    const uint64_t calls = CleanJobCalls(kJobDecrypt);
    for (uint64_t n = 1; n <= calls; ++n) {
        for (const FsFault fault : kAllFaults) {
            if (!Tried(fault, n)) continue;
            SCOPED_TRACE(FaultTrace(fault, n));
            Job job(kJobDecrypt, [&](MemoryFileSystem& fs) { fs.FailCall(n, fault); });
            CheckJob(
                job, [](const Original& o) { return o.CpyPath(); },
                [](const Original& o) { return o.Path(); },
                [](const Original& o) { return o.image; },
                [](const Original& o) { return o.content; });
        }
    }
}

// ---- Other programs at work

// What another program does to a file of the job: once the job has read it
// whole (at the rename that publishes its output), or before the job starts.
enum class Change { kReplaced, kAppended, kLinked, kLinkedBefore };

// Nothing is removed that is not the file that was read, as it was read;
// nothing is wiped that another name shares; each such file has its line,
// and the command line's status says the job was not all done.
TEST(JobAroundIt, NothingGoesThatIsNotTheFileRead) {
    const std::string backup = "C:\\other\\backup";
    const std::vector<uint8_t> extra = {7, 7, 7};
    const struct {
        JobKind kind;
        Change change;
        const char* key;  // the line, if any
    } rows[] = {
        {kJobEncrypt, Change::kReplaced, "error_file_changed"},
        {kJobEncrypt, Change::kAppended, "error_file_changed"},
        {kJobEncrypt, Change::kLinked, "error_file_has_links"},
        {kJobEncrypt, Change::kLinkedBefore, "error_file_has_links"},
        {kJobDecrypt, Change::kReplaced, "error_file_changed"},
        {kJobDecrypt, Change::kAppended, "error_file_changed"},
        {kJobDecrypt, Change::kLinked, nullptr},  // its other name keeps the ".cpy" file
    };
    for (const auto& row : rows) {
        for (const bool wipes : {false, true}) {
            SCOPED_TRACE(std::to_string(int(row.kind)) + " " + std::to_string(int(row.change)) +
                         (wipes ? " wipes" : ""));
            const bool encrypt = row.kind == kJobEncrypt;
            const auto jobPath = [&](const Original& o) {
                return encrypt ? o.Path() : o.CpyPath();
            };
            const auto bytes = [&](const Original& o) { return encrypt ? o.content : o.image; };
            const Original* hit = &Tree()[1];
            Job job(
                row.kind,
                [&](MemoryFileSystem& fs) {
                    if (row.change == Change::kLinkedBefore)
                        return fs.AddLink(jobPath(*hit), backup);
                    fs.OnCall([&, done = false](FsOp op, uint64_t) mutable {
                        if (op != FsOp::Move || done) return;
                        done = true;
                        for (const Original& o : Tree()) {
                            if (fs.IsOpen(jobPath(o))) hit = &o;
                        }
                        if (row.change == Change::kReplaced) fs.ReplaceFile(jobPath(*hit), extra);
                        if (row.change == Change::kAppended) fs.AppendTo(jobPath(*hit), extra);
                        if (row.change == Change::kLinked) fs.AddLink(jobPath(*hit), backup);
                    });
                },
                wipes && encrypt);
            if (encrypt) NameOutputsAfterOriginals(job);
            ASSERT_TRUE(job.finished);
            EXPECT_TRUE(Holds(job, kOutside, {1, 2, 3}, attr::kArchive));
            for (const Original& o : Tree()) {
                SCOPED_TRACE(o.name);
                const std::string made = encrypt ? o.CpyPath() : o.Path();
                EXPECT_TRUE(job.fs.Contents(made) == (encrypt ? o.image : o.content) ||
                            (&o == hit && row.change == Change::kLinkedBefore));
                EXPECT_TRUE(&o == hit || !job.fs.Exists(jobPath(o)));
            }
            std::vector<uint8_t> left = bytes(*hit);
            if (row.change == Change::kReplaced) left = extra;
            if (row.change == Change::kAppended)
                left.insert(left.end(), extra.begin(), extra.end());
            // The file hit is left as the other program made it, or removed.
            EXPECT_TRUE(row.key ? job.fs.Contents(jobPath(*hit)) == left
                                : !job.fs.Exists(jobPath(*hit)));
            const bool linked =
                row.change == Change::kLinked || row.change == Change::kLinkedBefore;
            EXPECT_TRUE(!linked || job.fs.Contents(backup) == bytes(*hit));
            const std::string line = "error : " + std::string(row.key ? row.key : "") + " : ";
            const std::vector<std::string>& reports =
                static_cast<RecordingOwner&>(job.owner).reports;
            EXPECT_EQ(reports, row.key ? std::vector<std::string>{line + jobPath(*hit)}
                                       : std::vector<std::string>{});
            EXPECT_EQ(job.status, row.key ? 1 : 0);
        }
    }
}

// ---- Crashes

// What is on disk of the tree, per original: whether it is whole under its
// own name, and its complete counterparts (and how many carry its
// attributes). Besides those only unfinished outputs may be there.
struct Remains {
    std::vector<bool> kept = std::vector<bool>(Tree().size());
    std::vector<int> counterparts = std::vector<int>(Tree().size());
    std::vector<int> stamped = std::vector<int>(Tree().size());
    std::vector<std::string> temporaries, strays;
};

Remains Survey(const MemoryFileSystem& fs, JobKind kind) {
    Remains r;
    for (const std::string& path : fs.AllPaths()) {
        if (fs.IsFolder(path) || path == kOutside) continue;
        if (IsTemporaryPath(path)) {
            r.temporaries.push_back(path);
            continue;
        }
        bool known = false;
        for (size_t i = 0; i < Tree().size(); ++i) {
            const Original& o = Tree()[i];
            const bool plain = path == o.Path() && fs.Contents(path) == o.content;
            const bool image = FolderPrefixOf(path, fs.NameCodePage()) == o.folder + "\\" &&
                               EndsInCpy(path) && fs.Contents(path) == o.image;
            if (kind == kJobEncrypt ? plain : image) r.kept[i] = known = true;
            if (kind == kJobEncrypt ? image : plain) {
                ++r.counterparts[i];
                r.stamped[i] += fs.Status(path).attributes == o.attributes;
                known = true;
            }
        }
        if (!known) r.strays.push_back(path);
    }
    return r;
}

// Right after the crash: each original whole, or its one complete
// counterpart published with its attributes; at most one unfinished output
// for the file being written and one for each file waiting to be finished.
void CheckCrashed(const Job& job, const Remains& r) {
    ASSERT_TRUE(job.finished);
    EXPECT_TRUE(job.fs.Contents(kOutside) == std::vector<uint8_t>({1, 2, 3}));
    EXPECT_TRUE(r.strays.empty()) << ::testing::PrintToString(r.strays);
    EXPECT_LE(r.temporaries.size(), 1u + WorkerThread::kFilesFinishedBehind);
    for (size_t i = 0; i < Tree().size(); ++i) {
        SCOPED_TRACE(Tree()[i].name);
        EXPECT_TRUE(r.kept[i] || r.counterparts[i] == 1);
        EXPECT_LE(r.counterparts[i], 1);
        EXPECT_EQ(r.stamped[i], r.counterparts[i]);
    }
}

// The new start does every file the crash left and names each unfinished
// output in its log, leaving it be. A file caught after its counterpart was
// published and before the original went comes through twice: encryption
// makes a second ".cpy" file of it, decryption keeps the ".cpy" file and
// says that the name is taken.
void CheckRestarted(const Job& job, const Remains& crashed, JobKind kind) {
    ASSERT_TRUE(job.finished);
    const Remains r = Survey(job.fs, kind);
    EXPECT_TRUE(r.strays.empty()) << ::testing::PrintToString(r.strays);
    EXPECT_EQ(r.temporaries, crashed.temporaries);
    for (const std::string& path : r.temporaries) {
        EXPECT_EQ(std::count(job.owner.lines.begin(), job.owner.lines.end(),
                             "message_interrupted_output : " + path),
                  1);
    }
    int caughtBetween = 0;
    for (size_t i = 0; i < Tree().size(); ++i) {
        SCOPED_TRACE(Tree()[i].name);
        const bool between = crashed.kept[i] && crashed.counterparts[i] == 1;
        caughtBetween += between;
        const bool twice = between && kind == kJobEncrypt;
        EXPECT_EQ(r.kept[i], between && kind == kJobDecrypt);
        EXPECT_EQ(r.counterparts[i], twice ? 2 : 1);
    }
    EXPECT_EQ(job.owner.reports, kind == kJobDecrypt ? caughtBetween : 0);
}

void CrashSweep(JobKind kind) {
    const uint64_t calls = CleanJobCalls(kind);
    size_t leftUnfinished = 0, leftUndone = 0;
    for (uint64_t n = 1; n < calls; ++n) {
        SCOPED_TRACE("crash after call " + std::to_string(n));
        Job crashed(kind, [&](MemoryFileSystem& fs) { fs.FreezeAfter(n); });
        const Remains remains = Survey(crashed.fs, kind);
        CheckCrashed(crashed, remains);
        leftUnfinished += remains.temporaries.size();
        leftUndone += std::count(remains.kept.begin(), remains.kept.end(), true);
        Job again(kind, crashed.fs);
        CheckRestarted(again, remains, kind);
    }
    // The crashes really cut files off, midway and before they started.
    EXPECT_GT(leftUnfinished, 0u);
    EXPECT_GT(leftUndone, 0u);
}

TEST(JobCrashSweep, Encryption) { CrashSweep(kJobEncrypt); }

// A wipe takes the file to a name of digits first: a crash during it leaves
// the half-wiped file there, never under a name the user gave.
TEST(JobCrashSweep, EncryptionWithWipes) {
    const uint64_t calls = CleanJobCalls(kJobEncrypt, true);
    size_t leftWiping = 0;
    for (uint64_t n = 1; n < calls; ++n) {
        SCOPED_TRACE("crash after call " + std::to_string(n));
        Job crashed(
            kJobEncrypt, [&](MemoryFileSystem& fs) { fs.FreezeAfter(n); }, true);
        Remains remains = Survey(crashed.fs, kJobEncrypt);
        auto& strays = remains.strays;
        const auto digits = std::remove_if(strays.begin(), strays.end(), [&](const std::string& p) {
            const std::string name = FileNameOf(p, crashed.fs.NameCodePage());
            return name.find_first_not_of("0123456789") == std::string::npos;
        });
        leftWiping += size_t(strays.end() - digits);
        strays.erase(digits, strays.end());
        CheckCrashed(crashed, remains);
    }
    EXPECT_GT(leftWiping, 0u);
}

TEST(JobCrashSweep, Decryption) { CrashSweep(kJobDecrypt); }

// ---- Files finished behind the job

// A file's lines come in the order the files were taken, whichever helper
// finished it: a file that fails as it is written (open, create) is told
// after one taken before it that fails as it is finished (stamp, name,
// removal).
TEST(JobFinishedBehind, LinesComeInTheFilesOrder) {
    for (const FsOp late : {FsOp::SetStatus, FsOp::Move, FsOp::Remove}) {
        for (const FsOp early : {FsOp::OpenReadWrite, FsOp::Create}) {
            for (int k = 1; k < int(Tree().size()); ++k) {
                SCOPED_TRACE(testing::Message() << int(late) << " " << int(early) << " " << k);
                const Job job(kJobEncrypt, [&](MemoryFileSystem& fs) {
                    fs.FailOp(late, k, FsFault::AccessDenied);
                    fs.FailOp(early, k + 1, FsFault::AccessDenied);
                });
                const std::vector<std::string>& taken = job.owner.prompts;
                std::vector<size_t> order;  // each file line's file, by when it was taken
                for (const std::string& line : job.owner.lines) {
                    const size_t cut = line.rfind('\\');
                    if (line.find(" : ") == std::string::npos || cut == std::string::npos) continue;
                    const auto file = std::find(taken.begin(), taken.end(), line.substr(cut + 1));
                    order.push_back(size_t(file - taken.begin()));
                }
                EXPECT_EQ(order.size(), 2u);
                EXPECT_TRUE(std::is_sorted(order.begin(), order.end()))
                    << ::testing::PrintToString(job.owner.lines);
            }
        }
    }
}

// A Stop while files wait to be finished ends the job after them: each is
// done or left whole, nothing half-made stays, and the Stop is the job's
// last word before its end.
TEST(JobFinishedBehind, StopWaitsForTheFilesHandedOver) {
    for (const JobKind kind : {kJobEncrypt, kJobDecrypt}) {
        // The hook runs inside the job, once the worker exists.
        Job job(kind, [&job](MemoryFileSystem& fs) {
            fs.OnCall([&job](FsOp op, uint64_t) {
                if (op == FsOp::SetStatus) job.worker.RequestStop();
            });
        });
        ASSERT_TRUE(job.finished);
        const Remains remains = Survey(job.fs, kind);
        EXPECT_TRUE(remains.strays.empty()) << ::testing::PrintToString(remains.strays);
        EXPECT_TRUE(remains.temporaries.empty());
        for (size_t i = 0; i < Tree().size(); ++i) {
            EXPECT_TRUE(remains.kept[i] != (remains.counterparts[i] == 1)) << Tree()[i].name;
        }
        const std::vector<std::string>& lines = job.owner.lines;
        ASSERT_GE(lines.size(), 2u);
        // The file cut off mid-body or the next one not begun says so last.
        EXPECT_NE(lines[lines.size() - 2].find("_canceled"), std::string::npos);
    }
}

}  // namespace
