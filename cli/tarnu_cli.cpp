// tarnu-cli: the same ".cpy" files as the window, from a terminal.

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/cli_options.h"
#include "cli/console_job.h"
#include "cli/host.h"
#include "cli/progress_line.h"
#include "cli/terminal.h"
#include "crypto/wipe.h"
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

int RunJob(CliOptions& options) {
    if (!TakePaths(options)) return kBadUsage;
    TerminalPrompt prompt;
    PasswordResult password = GetPassword(options, std::getenv("TARNU_PASSWORD"), prompt);
    if (!password.error.empty()) {
        std::cerr << "tarnu-cli: " << password.error << "\n";
        return 1;
    }
    CatchInterrupts();
    const std::unique_ptr<FileSystem> fs = MakeHostFileSystem();
    const TextTable& texts = BuiltInEnglish();
    ConsoleOwner owner(std::cout, texts, options.quiet, UserText);
    WorkerThread worker(*fs, texts);
    DescribeHost(worker);
    worker.Start(owner);
    ProgressLine progress(worker, owner.Progress(), !options.quiet && ErrorIsTerminal());
    const int status = RunConsoleJob(worker, owner, options, password.password);
    WipeString(password.password);
    progress.End();
    return Interrupted() ? kInterrupted : status;
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
            return Usage("list is not built yet");
        default:
            break;
    }
    if (options.codePage != 0) return Usage("--code-page is not built yet");
    return RunJob(options);
}
