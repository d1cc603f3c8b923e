#include "cli/password_source.h"

#include <fstream>

#include "crypto/wipe.h"

namespace {

// Each source fills the one result: a password moved from one string to
// another leaves what a short one's string held inside it behind.

// The stream reads into a buffer of ours, so that the file's bytes are wiped
// with it, and the line grows without leaving copies behind.
void FromFile(const std::string& path, PasswordResult& result) {
    char buffer[4096];
    std::ifstream file;
    file.rdbuf()->pubsetbuf(buffer, sizeof buffer);
    file.open(path, std::ios::binary);
    bool lineRead = false;
    char c = 0;
    while (file.get(c)) {
        lineRead = true;
        if (c == '\n') break;
        AppendWiping(result.password, c);
    }
    file.close();
    WipeBytes(buffer, sizeof buffer);
    if (!lineRead) {
        result.error = "cannot read a password from " + path;
    } else if (!result.password.empty() && result.password.back() == '\r') {
        result.password.pop_back();
    }
}

void FromTerminal(bool twice, PasswordPrompt& prompt, PasswordResult& result) {
    result.typed = true;
    if (!prompt.Ask("Password: ", &result.password)) {
        result.error = "no terminal to ask for the password: use --password-file or TARNU_PASSWORD";
        return;
    }
    std::string again;
    if (twice && (!prompt.Ask("Password again: ", &again) || again != result.password)) {
        WipeString(result.password);
        result.error = "the two passwords differ";
    }
    WipeString(again);
}

}  // namespace

PasswordResult GetPassword(const CliOptions& options, const char* environment,
                           PasswordPrompt& prompt) {
    PasswordResult result;
    if (!options.passwordFile.empty()) {
        FromFile(options.passwordFile, result);
    } else if (environment) {
        result.password = environment;
    } else {
        FromTerminal(options.command == CliCommand::kEncrypt, prompt, result);
    }
    if (result.error.empty() && result.password.empty() && options.command == CliCommand::kEncrypt)
        result.error = "the password is empty";
    return result;
}
