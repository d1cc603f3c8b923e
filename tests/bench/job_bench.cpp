// One whole encryption and decryption of a file through FileProcessor on the
// real file system: the POSIX one natively, Win32FileSystem under Wine.
//
//   job_bench <folder> <file name>
//
// The folder is given with '\' separators, as FileProcessor takes paths. The
// file is encrypted into <folder>\BENCHJOB.cpy (the original is deleted) and
// restored from it, so it ends as it began.

#include <chrono>
#include <cstdio>
#include <string>

#include "fileops/file_processor.h"

#ifdef _WIN32
#include "platform/win32_file_system.h"
using BenchFileSystem = Win32FileSystem;
#else
#include "tests/bench/posix_file_system.h"
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: job_bench <folder> <file name>\n");
        return 2;
    }
    const std::string source = std::string(argv[1]) + "\\" + argv[2];
    const std::string cpyPath = std::string(argv[1]) + "\\BENCHJOB.cpy";

    BenchFileSystem fs;
    FileProcessor processor(fs);
    int reports = 0;
    processor.SetReportSink([&](const std::string& line, ReportKind) {
        std::fprintf(stderr, "%s\n", line.c_str());
        ++reports;
    });
    processor.SetPassword("benchmark password");

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
