#pragma once
// The terminal tarnu-cli runs in: the password asked without echo, Ctrl+C
// turned into a Stop, and whether a stream is a terminal (for the progress
// line). One implementation for POSIX, one for the Windows console.

#include "cli/password_source.h"

class TerminalPrompt : public PasswordPrompt {
  public:
    // Reads from the controlling terminal (the console on Windows), not from
    // standard input, so a script's pipe is never mistaken for the user.
    bool Ask(const std::string& prompt, std::string* answer) override;
};

// From now on Ctrl+C (and, on POSIX, a termination request) no longer ends
// the program but is noted, for the job to stop between chunks. Call before
// any other thread starts.
void CatchInterrupts();
// Whether an interrupt has come.
bool Interrupted();

// Whether standard error is a terminal.
bool ErrorIsTerminal();
