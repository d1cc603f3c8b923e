// One job in a process of its own, for the suite that ends jobs abruptly:
//   run_job encrypt|decrypt FOLDER PASSWORD
// Writes each report line and exits with their count (0: every file done).
#include <cstdio>
#include <cstring>

#include "engine/worker_thread.h"
#include "platform/win32_file_system.h"
#include "tests/support/recording_owner.h"

int main(int argc, char** argv) {
    const bool encrypt = argc == 4 && std::strcmp(argv[1], "encrypt") == 0;
    if (argc != 4 || (!encrypt && std::strcmp(argv[1], "decrypt") != 0)) {
        std::fputs("usage: run_job encrypt|decrypt FOLDER PASSWORD\n", stderr);
        return 100;
    }
    Win32FileSystem fs;
    TextTable texts;
    RecordingOwner owner;
    WorkerThread worker(fs, texts);
    worker.password = argv[3];
    worker.Start(owner);
    worker.jobPaths = {argv[2]};
    worker.StartJob(encrypt ? kJobEncrypt : kJobDecrypt);
    const bool finished = owner.WaitForJobs(1);
    worker.RequestQuit();
    worker.Join();
    for (const std::string& line : owner.reports) std::printf("%s\n", line.c_str());
    return finished ? int(owner.reports.size()) : 101;
}
