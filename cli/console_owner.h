#pragma once
// The worker's owner in tarnu-cli: the job's lines printed as they come, as
// the window's log shows them, and what they mean for the exit status.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>

#include "engine/worker_owner.h"
#include "lang/text_table.h"

class ConsoleOwner : public WorkerOwner {
  public:
    // shown: a line as the user reads it (paths in the user's form).
    using LineForm = std::function<std::string(const std::string&)>;
    ConsoleOwner(std::ostream& out, const TextTable& texts, bool quiet, LineForm shown = nullptr);

    void AddLogLine(const std::string& text) override;
    void ReportLine(const std::string& line, ReportKind kind) override;
    void SetPromptText(const std::string&) override;
    void JobFinished() override;
    JobProgress& Progress() override { return progress; }

    // Returns once the job that was started has ended, with its summary
    // printed: 0 when every file was done, 1 when a file failed or was left
    // as it was, or a path was refused or skipped.
    int WaitForJob();

  private:
    bool IsNotice(const std::string& text) const;
    void Print(const std::string& line);

    std::ostream& out;
    const TextTable& texts;
    const bool quiet;
    const LineForm shown;
    JobProgress progress;
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    int filesTaken = 0;
    int problems = 0;  // lines other than the job's notices
};
