#pragma once
// The terminal tarnu-cli runs in: the password asked without echo or taken
// from the environment, Ctrl+C turned into a Stop, and whether a stream is a
// terminal (for the progress line). One implementation for POSIX, one for the
// Windows console.

#include "cli/password_source.h"

class TerminalPrompt : public PasswordPrompt {
  public:
    // Reads from the controlling terminal (the console on Windows), not from
    // standard input, so a script's pipe is never mistaken for the user.
    bool Ask(const std::string& prompt, std::string* answer) override;
};

// From now on Ctrl+C (and, on POSIX, a termination request) no longer ends
// the program but is noted, for the job to stop between chunks; the program
// says so. A second one ends the program at once, saying so: an output is
// only ever published complete, by a rename. Call before any other thread
// starts.
void CatchInterrupts();
inline constexpr char kStoppingLine[] =
    "tarnu-cli: stopping at the next safe point; interrupt again to end at once";
inline constexpr char kEndedLine[] =
    "tarnu-cli: ended at once; an unfinished output is left as a .tarnu-part file beside its "
    "original";
// Whether an interrupt has come.
bool Interrupted();

// Whether standard error is a terminal.
bool ErrorIsTerminal();

// The value of the environment variable name, taken out of the environment:
// wiped there and unset, so that no child inherits it. False when it is not
// set.
bool TakeFromEnvironment(const char* name, std::string* value);
