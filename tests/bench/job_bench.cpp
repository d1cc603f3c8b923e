// One whole encryption and decryption of a file through FileProcessor on the
// real file system: the POSIX one natively, Win32FileSystem under Wine.
//
//   job_bench <folder> <file name>
//   job_bench <folder> --small <count>
//   job_bench <folder> --delete <file name>
//   job_bench <folder> --make-tree <folders> <files per folder>
//   job_bench <folder> --tree
//
// The folder is given with '\' separators, as FileProcessor takes paths. The
// file is encrypted into <folder>\BENCHJOB.cpy (the original is deleted) and
// restored from it, so it ends as it began. With --small, count files of
// 4 KiB are made in the folder, encrypted and restored, then encrypted with
// both wipe passes; files per second of each, and the time of one write and
// flush of 4 KiB, which bounds the rate of small files, and the rate of the
// same steps done bare through the file layer on as many threads as the job
// has finishing helpers, in a subfolder "bare". They are left there.
// With --delete, the time the file system takes to delete a file, as a job
// deletes its original.
// With --make-tree, the folder is filled with that many subfolders of that
// many files of 1 KiB. With --tree, every file under the folder is encrypted
// by one job of the worker, as the program runs it (walk included), and
// restored by another: files per second each way, the walk alone, the time
// of one write and flush of 1 KiB and the process's peak memory.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// After <windows.h>, which it needs.
#include <psapi.h>

#include "platform/win32_file_system.h"
using BenchFileSystem = Win32FileSystem;
#else
#include <sys/resource.h>
#include <sys/stat.h>

#include "posix/posix_file_system.h"
using BenchFileSystem = PosixFileSystem;
#endif

// After <windows.h>, whose names for the file-encryption calls it takes back.
#include "engine/worker_thread.h"
#include "fileops/file_processor.h"
#include "lang/built_in_english.h"

namespace {

template <typename Job>
double SecondsOf(Job job) {
    const auto start = std::chrono::steady_clock::now();
    job();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// User and system time of all the process's threads so far.
double CpuSeconds() {
#ifdef _WIN32
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    const auto seconds = [](const FILETIME& t) {
        return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#endif
}

struct Timing {
    double seconds;
    double cpuSeconds;  // of every thread; the cores kept busy is their ratio
};

template <typename Job>
Timing TimingOf(Job job) {
    const double cpuBefore = CpuSeconds();
    const double seconds = SecondsOf(job);
    return {seconds, CpuSeconds() - cpuBefore};
}

void PrintFigure(const char* what, uint64_t bytes, const Timing& timing) {
    std::printf("%s: %.3f s, %.1f MB/s, %.2f cores busy\n", what, timing.seconds,
                double(bytes) / timing.seconds / 1e6, timing.cpuSeconds / timing.seconds);
}

int reports = 0;

void SetUp(FileProcessor& processor) {
    processor.SetReportSink([&](const std::string& line, ReportKind) {
        std::fprintf(stderr, "%s\n", line.c_str());
        ++reports;
    });
    processor.SetPassword("benchmark password");
}

const size_t kSmallSize = 4096;
const size_t kTreeFileSize = 1024;

// Seconds per write of size bytes and flush, the best of 20 on one file.
double FlushSeconds(FileSystem& fs, const std::string& path, size_t size = kSmallSize) {
    std::unique_ptr<File> file = fs.Create(path);
    const std::vector<uint8_t> bytes(size, 7);
    double best = 1e9;
    for (int i = 0; file && i < 20; ++i) {
        best = std::min(best, SecondsOf([&] {
                            file->Write(bytes.data(), bytes.size());
                            file->Flush();
                        }));
    }
    if (file) file->Close();
    fs.Delete(path);
    return best;
}

bool MakeFolder(const std::string& path) {
#ifdef _WIN32
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
    std::string posix = path;
    std::replace(posix.begin(), posix.end(), '\\', '/');
    return mkdir(posix.c_str(), 0755) == 0;
#endif
}

std::string SmallPath(const std::string& folder, int i, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "\\small%05d.%s", i, extension);
    return folder + name;
}

bool MakeSmallFiles(FileSystem& fs, const std::string& folder, int count,
                    const char* extension = "txt") {
    const std::vector<uint8_t> bytes(kSmallSize, 'x');
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<File> file = fs.Create(SmallPath(folder, i, extension));
        if (!file || !file->Write(bytes.data(), bytes.size()) || !file->Close()) return false;
    }
    return true;
}

// Files per second: each file encrypted, or each restored, as a job does,
// its last steps behind.
double SmallFilesPerSecond(FileProcessor& processor, const std::string& folder, int count,
                           bool encrypt) {
    const double seconds = SecondsOf([&] {
        for (int i = 0; i < count; ++i) {
            if (encrypt) {
                processor.EncryptFile(SmallPath(folder, i, "txt"), SmallPath(folder, i, "cpy"));
            } else {
                processor.DecryptFile(SmallPath(folder, i, "cpy"));
            }
        }
        processor.FinishAll();
    });
    return count / seconds;
}

// One file's steps with nothing checked: read, write under a temporary
// name, flush, close, rename, remove the original.
bool BareSteps(FileSystem& fs, const std::string& folder, int i) {
    std::unique_ptr<File> original = fs.OpenReadWrite(SmallPath(folder, i, "bare"));
    std::vector<uint8_t> bytes(kSmallSize);
    size_t got = 0;
    std::unique_ptr<File> output = fs.Create(SmallPath(folder, i, "part"));
    return original && original->Read(bytes.data(), bytes.size(), &got) && output &&
           output->Write(bytes.data(), got) && output->Flush() && output->Close() &&
           fs.Move(SmallPath(folder, i, "part"), SmallPath(folder, i, "done")) &&
           original->Remove() && fs.Delete(SmallPath(folder, i, "done"));
}

// The floor of the job's rate here: the bare steps, the files shared out
// among as many threads as the job has finishing helpers.
double BareFilesPerSecond(FileSystem& fs, const std::string& folder, int count) {
    std::atomic<int> next{0}, failed{0};
    const double seconds = SecondsOf([&] {
        std::vector<std::thread> threads;
        for (size_t t = 0; t < WorkerThread::kFinishingHelpers; ++t) {
            threads.emplace_back([&] {
                for (int i = next++; i < count; i = next++) failed += !BareSteps(fs, folder, i);
            });
        }
        for (std::thread& thread : threads) thread.join();
    });
    if (failed > 0) std::fprintf(stderr, "%d bare files failed\n", int(failed));
    return failed > 0 ? 0 : count / seconds;
}

int SmallFiles(const std::string& folder, int count) {
    BenchFileSystem fs;
    FileProcessor processor(fs);
    SetUp(processor);
    processor.FinishBehind(WorkerThread::kFilesFinishedBehind, WorkerThread::kFinishingHelpers);
    std::printf("write and flush of 4 KiB: %.2f ms\n",
                FlushSeconds(fs, folder + "\\FLUSH.bin") * 1e3);
    // In a folder of their own: under Wine every new name costs a read of
    // the whole folder, and a folder once grown keeps its size.
    const std::string bare = folder + "\\bare";
    if (!MakeFolder(bare) || !MakeSmallFiles(fs, bare, count, "bare")) return 1;
    std::printf("bare steps: %.1f files/s\n", BareFilesPerSecond(fs, bare, count));
    if (!MakeSmallFiles(fs, folder, count)) return 1;
    std::printf("small encrypt: %.1f files/s\n",
                SmallFilesPerSecond(processor, folder, count, true));
    std::printf("small decrypt: %.1f files/s\n",
                SmallFilesPerSecond(processor, folder, count, false));
    processor.wipeZero = processor.wipeRandom = true;
    std::printf("small encrypt wiped: %.1f files/s\n",
                SmallFilesPerSecond(processor, folder, count, true));
    return reports > 0 ? 1 : 0;
}

int Delete(const std::string& path) {
    BenchFileSystem fs;
    bool deleted = false;
    const double seconds = SecondsOf([&] { deleted = fs.Delete(path); });
    if (!deleted) {
        std::fprintf(stderr, "could not delete %s\n", path.c_str());
        return 1;
    }
    std::printf("delete: %.3f s\n", seconds);
    return 0;
}

// The most memory the process has held at once, in bytes.
uint64_t PeakMemory() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize;
#else
    rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
    return uint64_t(usage.ru_maxrss) * 1024;
#endif
}

int MakeTree(const std::string& folder, int folders, int files) {
    BenchFileSystem fs;
    const std::vector<uint8_t> bytes(kTreeFileSize, 'x');
    for (int f = 0; f < folders; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "\\folder%04d", f);
        const std::string sub = folder + name;
        if (!MakeFolder(sub)) return 1;
        for (int i = 0; i < files; ++i) {
            std::unique_ptr<File> file = fs.Create(SmallPath(sub, i, "txt"));
            if (!file || !file->Write(bytes.data(), bytes.size()) || !file->Close()) return 1;
        }
    }
    return 0;
}

// Counts what the worker says: a file taken, and any line about a problem.
class TreeOwner : public WorkerOwner {
  public:
    void AddLogLine(const std::string&) override {}
    void ReportLine(const std::string& line, ReportKind) override {
        std::fprintf(stderr, "%s\n", line.c_str());
        ++problems;
    }
    void SetPromptText(const std::string&) override { ++taken; }
    void JobFinished() override {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        ended.notify_all();
    }
    JobProgress& Progress() override { return progress; }

    // Runs one job and waits for its end; the files it took.
    int Run(WorkerThread& worker, const std::string& folder, JobKind kind) {
        taken = 0;
        worker.jobPaths = {folder};
        worker.password = "benchmark password";
        worker.StartJob(kind);
        std::unique_lock<std::mutex> lock(mutex);
        ended.wait(lock, [this] { return finished; });
        finished = false;
        return taken;
    }

    std::atomic<int> problems{0};

  private:
    JobProgress progress;
    std::atomic<int> taken{0};
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
};

int Tree(const std::string& folder) {
    BenchFileSystem fs;
    std::printf("write and flush of 1 KiB: %.2f ms\n",
                FlushSeconds(fs, folder + "\\FLUSH.bin", kTreeFileSize) * 1e3);
    const uint64_t before = PeakMemory();
    WorkerThread worker(fs, BuiltInEnglish());
    TreeOwner owner;
    worker.Start(owner);
    // The walk alone, as each job begins.
    std::vector<std::string> listed;
    worker.jobPaths = {folder};
    const double walk = SecondsOf([&] { worker.CollectFiles(listed, kJobEncrypt); });
    const size_t count = listed.size();
    std::vector<std::string>().swap(listed);
    std::printf("tree walk: %.0f files/s, %zu files\n", count / walk, count);
    int encrypted = 0, decrypted = 0;
    const double encrypting =
        SecondsOf([&] { encrypted = owner.Run(worker, folder, kJobEncrypt); });
    const double decrypting =
        SecondsOf([&] { decrypted = owner.Run(worker, folder, kJobDecrypt); });
    worker.RequestQuit();
    worker.Join();
    std::printf("tree encrypt: %.1f files/s\n", encrypted / encrypting);
    std::printf("tree decrypt: %.1f files/s\n", decrypted / decrypting);
    const uint64_t peak = PeakMemory();
    std::printf("peak memory: %.1f MiB\n", peak / 1048576.0);
    std::printf("memory per file: %.0f bytes over the start's %.1f MiB\n",
                double(peak - before) / double(count ? count : 1), before / 1048576.0);
    const bool whole = encrypted == int(count) && decrypted == int(count);
    if (!whole)
        std::fprintf(stderr, "%d encrypted, %d restored of %zu\n", encrypted, decrypted, count);
    return whole && owner.problems == 0 && reports == 0 ? 0 : 1;
}

std::string PathIn(const char* folder, const char* name) {
    return std::string(folder) + "\\" + name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[2], "--small") == 0)
        return SmallFiles(argv[1], std::atoi(argv[3]));
    if (argc == 4 && std::strcmp(argv[2], "--delete") == 0) return Delete(PathIn(argv[1], argv[3]));
    if (argc == 5 && std::strcmp(argv[2], "--make-tree") == 0)
        return MakeTree(argv[1], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc == 3 && std::strcmp(argv[2], "--tree") == 0) return Tree(argv[1]);
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: job_bench <folder> <file name>\n"
                     "       job_bench <folder> --small <count>\n"
                     "       job_bench <folder> --delete <file name>\n"
                     "       job_bench <folder> --make-tree <folders> <files per folder>\n"
                     "       job_bench <folder> --tree\n");
        return 2;
    }
    const std::string source = PathIn(argv[1], argv[2]);
    const std::string cpyPath = PathIn(argv[1], "BENCHJOB.cpy");

    BenchFileSystem fs;
    FileProcessor processor(fs);
    SetUp(processor);

    const Timing encryption = TimingOf([&] { processor.EncryptFile(source, cpyPath); });
    const uint64_t encrypted = processor.GetCounters();
    if (reports > 0) return 1;
    const Timing decryption = TimingOf([&] { processor.DecryptFile(cpyPath); });
    const uint64_t decrypted = processor.GetCounters();
    if (reports > 0) return 1;

    PrintFigure("encrypt", encrypted, encryption);
    PrintFigure("decrypt", decrypted, decryption);
    return 0;
}
