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
#include "fs/path_text.h"
#include "lang/built_in_english.h"
#include "res/version.h"

namespace {

const int kBadUsage = 2;
const int kInterrupted = 130;

int Usage(const std::string& error) {
    std::cerr << "tarnu-cli: " << error << "\n" << kCliUsage;
    return kBadUsage;
}

// The paths in the worker's form; false, said, when one cannot be made:
// nothing is begun then.
bool TakePaths(CliOptions& options) {
    for (std::string& path : options.paths) {
        std::string why;
        const std::string full = WorkerPath(path, &why);
        if (full.empty()) {
            std::cerr << "tarnu-cli: cannot work on " << path << ": " << why << "\n";
            return false;
        }
        path = full;
    }
    return true;
}

// TARNU_PASSWORD, out of the environment from the start: no child of the
// process inherits it, and what is kept here is wiped once it is read.
struct EnvironmentPassword {
    std::string value;
    const bool set = TakeFromEnvironment("TARNU_PASSWORD", &value);
    ~EnvironmentPassword() { WipeString(value); }
};

// The password as the worker keys it; false, said, when there is none.
bool TakePassword(const CliOptions& options, EnvironmentPassword& environment,
                  std::string* password) {
    TerminalPrompt prompt;
    PasswordResult result =
        GetPassword(options, environment.set ? environment.value.c_str() : nullptr, prompt);
    WipeString(environment.value);
    if (result.error.empty() && !WorkerPassword(result.password, result.typed, password))
        result.error = "the password holds a character the code page of names cannot";
    WipeString(result.password);
    if (result.error.empty()) return true;
    std::cerr << "tarnu-cli: " << result.error << "\n";
    return false;
}

// Each file's stored name and original length, or what keeps it closed.
int ListFiles(CliOptions& options, EnvironmentPassword& environment) {
    std::string password;
    if (!TakePaths(options) || !TakePassword(options, environment, &password)) return 1;
    Cast128 cipher;
    cipher.SetKey(password);
    WipeString(password);
    const std::unique_ptr<FileSystem> fs = MakeHostFileSystem();
    int status = 0;
    for (const std::string& path : options.paths) {
        const CpySummary summary = ReadCpySummary(*fs, cipher, path);
        if (summary.errorKey) {
            std::cout << UserText(path) << ": " << BuiltInEnglish().LookupText(summary.errorKey)
                      << "\n";
            status = 1;
        } else {
            std::cout << UserText(path) << ": " << UserText(summary.name) << ", "
                      << summary.sourceLength << " bytes\n";
        }
    }
    return status;
}

// Why a job passes over a path the user named without a word, or nullptr.
// The worker drops a path that is not there, as a drop on the window does,
// and a file the job has no business with, as a walk does; a path typed in a
// terminal is said and counts as not done.
const char* PassedOver(FileSystem& fs, const WorkerThread& worker, const std::string& path,
                       JobKind kind) {
    uint32_t attributes = 0;
    if (!fs.GetAttributes(path, &attributes)) return "not found";
    if (attributes & attr::kDirectory || !worker.Ignores(path, kind)) return nullptr;
    if (kind == kJobDecrypt) return "not a .cpy file, left as it is";
    return EndsInCpy(path) ? "already a .cpy file, left as it is"
                           : "the program itself, left as it is";
}

// The paths the job will not pass over in silence; true when one was dropped.
bool DropPassedOver(FileSystem& fs, const WorkerThread& worker, std::vector<std::string>& paths,
                    JobKind kind) {
    const size_t given = paths.size();
    paths.erase(std::remove_if(paths.begin(), paths.end(),
                               [&](const std::string& path) {
                                   const char* why = PassedOver(fs, worker, path, kind);
                                   if (!why) return false;
                                   std::cerr << "tarnu-cli: " << why << ": " << UserText(path)
                                             << "\n";
                                   return true;
                               }),
                paths.end());
    return paths.size() < given;
}

int RunJob(CliOptions& options, EnvironmentPassword& environment) {
    if (!TakePaths(options)) return 1;
    const JobKind kind = options.command == CliCommand::kEncrypt ? kJobEncrypt : kJobDecrypt;
    const std::unique_ptr<FileSystem> fs = MakeHostFileSystem();
    const TextTable& texts = BuiltInEnglish();
    WorkerThread worker(*fs, texts);
    DescribeHost(worker);
    const bool passedOver = DropPassedOver(*fs, worker, options.paths, kind);
    std::string password;
    if (options.paths.empty() || !TakePassword(options, environment, &password)) return 1;
    CatchInterrupts();
    ConsoleOwner owner(std::cout, texts, options.quiet, UserText);
    worker.Start(owner);
    ProgressLine progress(worker, owner.Progress(), !options.quiet && ErrorIsTerminal());
    const int status = RunConsoleJob(worker, owner, options, password);
    progress.End();
    return Interrupted() ? kInterrupted : passedOver ? 1 : status;
}

}  // namespace

int main(int argc, char** argv) {
    EnvironmentPassword environment;
    CliArguments arguments = ParseCliArguments(ProgramArguments(argc, argv));
    if (!arguments.error.empty()) return Usage(arguments.error);
    CliOptions& options = arguments.options;
    const std::string codePageError = UseCodePage(options.codePage);
    if (!codePageError.empty()) return Usage(codePageError);
    switch (options.command) {
        case CliCommand::kHelp:
            std::cout << kCliUsage;
            return 0;
        case CliCommand::kVersion:
            std::cout << "tarnu-cli " << TARNU_RELEASE_TEXT << "\n";
            return 0;
        case CliCommand::kList:
            return ListFiles(options, environment);
        default:
            break;
    }
    return RunJob(options, environment);
}
