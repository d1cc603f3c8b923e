#include "cli/console_owner.h"

#include <utility>

ConsoleOwner::ConsoleOwner(std::ostream& out, const TextTable& texts, bool quiet, LineForm shown)
    : out(out), texts(texts), quiet(quiet), shown(std::move(shown)) {}

// The job's own notices; any other line of the worker is a refusal, a
// skipped path or a stop, and the job did not do all it was given.
bool ConsoleOwner::IsNotice(const std::string& text) const {
    for (const char* key : {"message_encryption_started", "message_decryption_started",
                            "message_problem_analysis", "message_encryption_finished",
                            "message_decryption_finished", "message_password_truncated"}) {
        if (text == texts.LookupText(key)) return true;
    }
    return false;
}

void ConsoleOwner::AddLogLine(const std::string& text) {
    const bool notice = IsNotice(text);
    std::lock_guard<std::mutex> lock(mutex);
    if (!notice) ++problems;
    if (!notice || !quiet) Print(text);
}

// A file done says nothing: any line about one means it was not done.
void ConsoleOwner::ReportLine(const std::string& line, ReportKind) {
    std::lock_guard<std::mutex> lock(mutex);
    ++problems;
    Print(line);
}

void ConsoleOwner::SetPromptText(const std::string&) {
    std::lock_guard<std::mutex> lock(mutex);
    ++filesTaken;
}

void ConsoleOwner::JobFinished() {
    std::lock_guard<std::mutex> lock(mutex);
    finished = true;
    ended.notify_all();
}

int ConsoleOwner::WaitForJob() {
    std::unique_lock<std::mutex> lock(mutex);
    ended.wait(lock, [this] { return finished; });
    finished = false;
    const int files = std::exchange(filesTaken, 0);
    out << files << (files == 1 ? " file" : " files") << " taken, " << problems
        << (problems == 1 ? " problem" : " problems") << " reported\n"
        << std::flush;
    return std::exchange(problems, 0) > 0 ? 1 : 0;
}

void ConsoleOwner::Print(const std::string& line) {
    out << (shown ? shown(line) : line) << '\n' << std::flush;
}
