// tarnu-cli: the same ".cpy" files as the window, from a terminal.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/cli_options.h"
#include "cli/console_job.h"
#include "cli/host.h"
#include "cli/progress_line.h"
#include "cli/terminal.h"
#include "crypto/wipe.h"
#include "fileops/cpy_summary.h"
#include "lang/built_in_english.h"
#include "res/version.h"

namespace {

const int kBadUsage = 2;
const int kInterrupted = 130;

int Usage(const std::string& error) {
    std::cerr << "tarnu-cli: " << error << "\n" << kCliUsage;
    return kBadUsage;
}

// The paths in the worker's form; false, said, when one cannot be made.
bool TakePaths(CliOptions& options) {
    for (std::string& path : options.paths) {
        const std::string full = WorkerPath(path);
        if (full.empty()) {
            std::cerr << "tarnu-cli: cannot work on " << path << "\n";
            return false;
        }
        path = full;
    }
    return true;
}

// False, said, when there is no password to be had.
bool TakePassword(const CliOptions& options, std::string* password) {
    TerminalPrompt prompt;
    PasswordResult result = GetPassword(options, std::getenv("TARNU_PASSWORD"), prompt);
    if (!result.error.empty()) {
        std::cerr << "tarnu-cli: " << result.error << "\n";
        return false;
    }
    password->swap(result.password);
    return true;
}

// Each file's stored name and original length, or what keeps it closed.
int ListFiles(CliOptions& options) {
    std::string password;
    if (!TakePaths(options)) return kBadUsage;
    if (!TakePassword(options, &password)) return 1;
    Cast128 cipher;
    cipher.SetKey(password);
    WipeString(password);
    const std::unique_ptr<FileSystem> fs = MakeHostFileSystem();
    int status = 0;
    for (const std::string& path : options.paths) {
        const CpySummary summary = ReadCpySummary(*fs, cipher, path);
        if (summary.errorKey) {
            std::cout << UserText(path) << ": " << BuiltInEnglish().LookupText(summary.errorKey) << "\n";
            status = 1;
        } else {
            std::cout << UserText(path) << ": " << summary.name << ", " << summary.sourceLength
                      << " bytes\n";
        }
    }
    return status;
}

// The worker drops a path that is not there without a word, as a drop on the
// window does; a path typed in a terminal is said and counts as not done.
bool DropMissing(FileSystem& fs, std::vector<std::string>& paths) {
    const size_t given = paths.size();
    paths.erase(std::remove_if(paths.begin(), paths.end(),
                               [&](const std::string& path) {
                                   uint32_t attributes = 0;
                                   if (fs.GetAttributes(path, &attributes)) return false;
                                   std::cerr << "tarnu-cli: not found: " << UserText(path) << "\n";
                                   return true;
                               }),
                paths.end());
    return paths.size() < given;
}

int RunJob(CliOptions& options) {
    std::string password;
    if (!TakePaths(options)) return kBadUsage;
    const std::unique_ptr<FileSystem> fs = MakeHostFileSystem();
    const bool missing = DropMissing(*fs, options.paths);
    if (options.paths.empty()) return 1;
    if (!TakePassword(options, &password)) return 1;
    CatchInterrupts();
    const TextTable& texts = BuiltInEnglish();
    ConsoleOwner owner(std::cout, texts, options.quiet, UserText);
    WorkerThread worker(*fs, texts);
    DescribeHost(worker);
    worker.Start(owner);
    ProgressLine progress(worker, owner.Progress(), !options.quiet && ErrorIsTerminal());
    const int status = RunConsoleJob(worker, owner, options, password);
    WipeString(password);
    progress.End();
    return Interrupted() ? kInterrupted : missing ? 1 : status;
}

}  // namespace

int main(int argc, char** argv) {
    CliArguments arguments = ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments.error.empty()) return Usage(arguments.error);
    CliOptions& options = arguments.options;
    switch (options.command) {
        case CliCommand::kHelp:
            std::cout << kCliUsage;
            return 0;
        case CliCommand::kVersion:
            std::cout << "tarnu-cli " << TARNU_VERSION_TEXT << "\n";
            return 0;
        case CliCommand::kList:
            return ListFiles(options);
        default:
            break;
    }
    if (options.codePage != 0) return Usage("--code-page is not built yet");
    return RunJob(options);
}
