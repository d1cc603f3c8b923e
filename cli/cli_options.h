#pragma once
// What tarnu-cli is asked to do, read from its arguments.

#include <string>
#include <vector>

enum class CliCommand { kEncrypt, kDecrypt, kList, kHelp, kVersion };

struct CliOptions {
    CliCommand command = CliCommand::kHelp;
    std::vector<std::string> paths;
    // Both passes by default, as the window's first run has them.
    bool wipeZero = true;
    bool wipeRandom = true;
    bool writeReadOnly = false;
    unsigned codePage = 0;  // of stored names; 0: the system's default
    bool quiet = false;
    std::string passwordFile;  // empty: TARNU_PASSWORD, else the terminal
};

// The options, or why they cannot be followed (the caller prints it with the
// usage and ends with status 2).
struct CliArguments {
    CliOptions options;
    std::string error;
};

// args: what follows the program's name. Options may stand before or after
// the paths; "--" ends them.
CliArguments ParseCliArguments(const std::vector<std::string>& args);

extern const char kCliUsage[];
