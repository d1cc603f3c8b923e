#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "cli/terminal.h"

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
    while ((got = ::read(fd, &c, 1)) == 1 && c != '\n') line->push_back(c);
    return got == 1 || !line->empty();
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
        if (sigwait(&set, &signal) == 0) interrupted = true;
    }).detach();
}

bool Interrupted() { return interrupted; }

bool ErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }
