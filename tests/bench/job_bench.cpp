// One whole encryption and decryption of a file through FileProcessor on the
// real file system: the POSIX one natively, Win32FileSystem under Wine.
//
//   job_bench <folder> <file name>
//   job_bench <folder> --small <count>
//
// The folder is given with '\' separators, as FileProcessor takes paths. The
// file is encrypted into <folder>\BENCHJOB.cpy (the original is deleted) and
// restored from it, so it ends as it began. With --small, count files of
// 4 KiB are made in the folder, encrypted and restored, then encrypted with
// both wipe passes; files per second of each, and the time of one write and
// flush of 4 KiB, which bounds the rate of small files. They are left there.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fileops/file_processor.h"

#ifdef _WIN32
#include "platform/win32_file_system.h"
using BenchFileSystem = Win32FileSystem;
#else
#include "posix/posix_file_system.h"
using BenchFileSystem = PosixFileSystem;
#endif

namespace {

template <typename Job>
double SecondsOf(Job job) {
    const auto start = std::chrono::steady_clock::now();
    job();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void PrintFigure(const char* what, uint64_t bytes, double seconds) {
    std::printf("%s: %.3f s, %.1f MB/s\n", what, seconds, double(bytes) / seconds / 1e6);
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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[2], "--small") == 0)
        return SmallFiles(argv[1], std::atoi(argv[3]));
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: job_bench <folder> <file name>\n"
                     "       job_bench <folder> --small <count>\n");
        return 2;
    }
    const std::string source = std::string(argv[1]) + "\\" + argv[2];
    const std::string cpyPath = std::string(argv[1]) + "\\BENCHJOB.cpy";

    BenchFileSystem fs;
    FileProcessor processor(fs);
    SetUp(processor);

    const double encryptSeconds = SecondsOf([&] { processor.EncryptFile(source, cpyPath); });
    const uint64_t encrypted = processor.GetCounters();
    if (reports > 0) return 1;
    const double decryptSeconds = SecondsOf([&] { processor.DecryptFile(cpyPath); });
    const uint64_t decrypted = processor.GetCounters();
    if (reports > 0) return 1;

    PrintFigure("encrypt", encrypted, encryptSeconds);
    PrintFigure("decrypt", decrypted, decryptSeconds);
    return 0;
}
