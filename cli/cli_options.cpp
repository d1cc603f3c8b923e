#include "cli/cli_options.h"

#include <cstdlib>

const char kCliUsage[] =
    "usage: tarnu-cli encrypt [options] PATH...\n"
    "       tarnu-cli decrypt [options] PATH...\n"
    "       tarnu-cli list [options] FILE.cpy...\n"
    "Files become \".cpy\" files in their own folders and back; folders are walked.\n"
    "options:\n"
    "  --wipe zero,random|zero|random|none  overwrite originals before they go\n"
    "                            (default: zero,random)\n"
    "  --write-read-only         work on read-only files too\n"
    "  --code-page N             code page of the names stored in \".cpy\" files\n"
    "  --password-file FILE      the password is the file's first line\n"
    "                            (else TARNU_PASSWORD, else it is asked for)\n"
    "  --quiet                   print only failures and the summary\n"
    "  --help, --version         print this text, or the version\n"
    "exit status: 0 all done, 1 a file failed, was refused or passed over,\n"
    "2 bad usage, 130 interrupted (Ctrl+C stops at the next safe point, a second\n"
    "Ctrl+C ends the program at once)\n";

namespace {

bool ParseCommand(const std::string& word, CliCommand* command) {
    if (word == "encrypt")
        *command = CliCommand::kEncrypt;
    else if (word == "decrypt")
        *command = CliCommand::kDecrypt;
    else if (word == "list")
        *command = CliCommand::kList;
    else
        return false;
    return true;
}

bool ParseWipe(const std::string& list, CliOptions* options) {
    options->wipeZero = options->wipeRandom = false;
    if (list == "none") return true;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        const std::string pass = list.substr(start, comma - start);
        if (pass == "zero")
            options->wipeZero = true;
        else if (pass == "random")
            options->wipeRandom = true;
        else
            return false;
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

bool ParseCodePage(const std::string& text, unsigned* codePage) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value == 0 || value > 65535) return false;
    *codePage = unsigned(value);
    return true;
}

// One option, with its value from "--name=value" or the next argument.
std::string ParseOption(const std::vector<std::string>& args, size_t* i, CliOptions* options) {
    std::string name = args[*i], value;
    const bool inlineValue = name.find('=') != std::string::npos;
    if (inlineValue) {
        value = name.substr(name.find('=') + 1);
        name.erase(name.find('='));
    }
    auto takeValue = [&]() {
        if (inlineValue) return true;
        if (*i + 1 >= args.size()) return false;
        value = args[++*i];
        return true;
    };
    if (name == "--password" || name == "-p")
        return "the password is never taken as an argument, where process lists show it: "
               "use --password-file FILE or TARNU_PASSWORD";
    if (name == "--write-read-only" && !inlineValue)
        options->writeReadOnly = true;
    else if (name == "--quiet" && !inlineValue)
        options->quiet = true;
    else if (name == "--wipe") {
        if (!takeValue() || !ParseWipe(value, options))
            return "--wipe takes zero, random, both as zero,random, or none";
    } else if (name == "--code-page") {
        if (!takeValue() || !ParseCodePage(value, &options->codePage))
            return "--code-page takes a code page number, such as 1252 or 932";
    } else if (name == "--password-file") {
        if (!takeValue() || value.empty()) return "--password-file takes a file";
        options->passwordFile = value;
    } else {
        return "unknown option " + name;
    }
    return std::string();
}

}  // namespace

CliArguments ParseCliArguments(const std::vector<std::string>& args) {
    CliArguments result;
    CliOptions& options = result.options;
    bool commandSeen = false, optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && (arg == "--help" || arg == "--version")) {
            options.command = arg == "--help" ? CliCommand::kHelp : CliCommand::kVersion;
            return result;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            result.error = ParseOption(args, &i, &options);
            if (!result.error.empty()) return result;
        } else if (!commandSeen) {
            commandSeen = true;
            if (!ParseCommand(arg, &options.command)) {
                result.error = "unknown command " + arg;
                return result;
            }
        } else {
            options.paths.push_back(arg);
        }
    }
    if (!commandSeen)
        result.error = "no command: encrypt, decrypt or list";
    else if (options.paths.empty())
        result.error = "no paths given";
    return result;
}
