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
    trouble |= !notice;
    if (!notice || !quiet) Print(text);
}

void ConsoleOwner::ReportLine(const std::string& line, ReportKind kind) {
    std::lock_guard<std::mutex> lock(mutex);
    trouble |= kind == kReportError;
    if (kind == kReportError || !quiet) Print(line);
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
    return std::exchange(trouble, false) ? 1 : 0;
}

void ConsoleOwner::Print(const std::string& line) {
    out << (shown ? shown(line) : line) << '\n' << std::flush;
}
