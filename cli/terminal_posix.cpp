#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "cli/terminal.h"
#include "crypto/wipe.h"

namespace {

std::atomic<bool> interrupted{false};

void WriteText(int fd, const std::string& text) {
    ssize_t ignored = ::write(fd, text.data(), text.size());
    (void)ignored;
}

bool ReadLine(int fd, std::string* line) {
    line->clear();
    char c = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, &c, 1)) == 1 && c != '\n') AppendWiping(*line, c);
    return got == 1 || !line->empty();
}

// On a terminal the line starts after the "^C" it echoed, or after the
// progress line.
void Say(const char* line) {
    const std::string text = std::string(ErrorIsTerminal() ? "\n" : "") + line + "\n";
    WriteText(STDERR_FILENO, text);
}

// Dies of the signal, as a shell expects of a program it interrupted.
[[noreturn]] void EndBy(int signal) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::signal(signal, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

}  // namespace

bool TerminalPrompt::Ask(const std::string& prompt, std::string* answer) {
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) return false;
    termios saved{};
    const bool isTerminal = ::tcgetattr(tty, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    WriteText(tty, prompt);
    const bool read = ReadLine(tty, answer);
    if (isTerminal) ::tcsetattr(tty, TCSAFLUSH, &saved);
    ::close(tty);
    return read;
}

// The signals are blocked in every thread and taken by one that waits for
// them.
void CatchInterrupts() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) return;
        interrupted = true;
        Say(kStoppingLine);
        if (sigwait(&set, &signal) != 0) return;
        Say(kEndedLine);
        EndBy(signal);
    }).detach();
}

bool Interrupted() { return interrupted; }

bool ErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

// getenv gives the text inside the environment itself: wiped there, it is
// gone from what the process shows of its environment too.
bool TakeFromEnvironment(const char* name, std::string* value) {
    char* text = std::getenv(name);
    if (!text) return false;
    value->assign(text);
    WipeBytes(text, std::strlen(text));
    ::unsetenv(name);
    return true;
}
