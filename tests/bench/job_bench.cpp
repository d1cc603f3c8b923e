// One whole encryption and decryption of a file through FileProcessor on the
// real file system: the POSIX one natively, Win32FileSystem under Wine.
//
//   job_bench <folder> <file name>
//   job_bench <folder> --small <count>
//   job_bench <folder> --delete <file name>
//
// The folder is given with '\' separators, as FileProcessor takes paths. The
// file is encrypted into <folder>\BENCHJOB.cpy (the original is deleted) and
// restored from it, so it ends as it began. With --small, count files of
// 4 KiB are made in the folder, encrypted and restored, then encrypted with
// both wipe passes; files per second of each, and the time of one write and
// flush of 4 KiB, which bounds the rate of small files. They are left there.
// With --delete, the time the file system takes to delete a file, as a job
// deletes its original.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32_file_system.h"
using BenchFileSystem = Win32FileSystem;
#else
#include <sys/resource.h>

#include "posix/posix_file_system.h"
using BenchFileSystem = PosixFileSystem;
#endif

// After <windows.h>, whose names for the file-encryption calls it takes back.
#include "fileops/file_processor.h"

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

// Seconds per write of 4 KiB and flush, the best of 20 on one file.
double FlushSeconds(FileSystem& fs, const std::string& path) {
    std::unique_ptr<File> file = fs.Create(path);
    const std::vector<uint8_t> bytes(kSmallSize, 7);
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

std::string SmallPath(const std::string& folder, int i, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "\\small%05d.%s", i, extension);
    return folder + name;
}

bool MakeSmallFiles(FileSystem& fs, const std::string& folder, int count) {
    const std::vector<uint8_t> bytes(kSmallSize, 'x');
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<File> file = fs.Create(SmallPath(folder, i, "txt"));
        if (!file || !file->Write(bytes.data(), bytes.size()) || !file->Close()) return false;
    }
    return true;
}

// Files per second: each file encrypted, or each restored.
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
    });
    return count / seconds;
}

int SmallFiles(const std::string& folder, int count) {
    BenchFileSystem fs;
    FileProcessor processor(fs);
    SetUp(processor);
    std::printf("write and flush of 4 KiB: %.2f ms\n",
                FlushSeconds(fs, folder + "\\FLUSH.bin") * 1e3);
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

std::string PathIn(const char* folder, const char* name) {
    return std::string(folder) + "\\" + name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[2], "--small") == 0)
        return SmallFiles(argv[1], std::atoi(argv[3]));
    if (argc == 4 && std::strcmp(argv[2], "--delete") == 0) return Delete(PathIn(argv[1], argv[3]));
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: job_bench <folder> <file name>\n"
                     "       job_bench <folder> --small <count>\n"
                     "       job_bench <folder> --delete <file name>\n");
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
