#pragma once
// Where tarnu-cli's password comes from: the first line of a file, else the
// environment, else the terminal without echo (twice to encrypt).

#include <string>

#include "cli/cli_options.h"

// The terminal, or a test standing in for it.
class PasswordPrompt {
  public:
    virtual ~PasswordPrompt() = default;
    // Shows prompt and reads a line without echo, in UTF-8; false when
    // there is no terminal to ask.
    virtual bool Ask(const std::string& prompt, std::string* answer) = 0;
};

struct PasswordResult {
    std::string password;
    std::string error;   // empty when a password was had
    bool typed = false;  // at the terminal, so in UTF-8 on every system
};

// environment: the value of TARNU_PASSWORD, or nullptr. Only encryption
// refuses an empty password: files made with one stay readable.
PasswordResult GetPassword(const CliOptions& options, const char* environment,
                           PasswordPrompt& prompt);
