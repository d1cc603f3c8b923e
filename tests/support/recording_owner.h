#pragma once
// A worker owner for tests: records every line and prompt text, and lets the
// test wait for the end of a job.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/worker_owner.h"

class RecordingOwner : public WorkerOwner {
  public:
    void AddLogLine(const std::string& text) override {
        Record(text);
        if (onLogLine) onLogLine(text);
    }
    void ReportLine(const std::string& line, ReportKind kind) override {
        Record(line);
        std::lock_guard<std::mutex> lock(mutex);
        reports.push_back(line);
        if (kind == kReportError) ++errors;
    }
    void SetPromptText(const std::string& text) override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            prompts.push_back(text);
        }
        if (onPrompt) onPrompt(text);
    }
    void JobFinished() override {
        std::lock_guard<std::mutex> lock(mutex);
        ++jobsFinished;
        finished.notify_all();
    }
    JobProgress& Progress() override { return progress; }

    // Safe from any thread while a job runs.
    size_t PromptCount() {
        std::lock_guard<std::mutex> lock(mutex);
        return prompts.size();
    }

    // True when n jobs have finished within a generous time.
    bool WaitForJobs(int n) {
        std::unique_lock<std::mutex> lock(mutex);
        return finished.wait_for(lock, std::chrono::seconds(60), [&] { return jobsFinished >= n; });
    }

    std::function<void(const std::string&)> onLogLine;  // runs on the worker thread
    std::function<void(const std::string&)> onPrompt;   // likewise, before each file
    std::vector<std::string> lines;
    std::vector<std::string> reports;  // the processor's lines alone
    std::vector<std::string> prompts;
    int jobsFinished = 0;
    int errors = 0;
    JobProgress progress;

  private:
    void Record(const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex);
        lines.push_back(line);
    }

    std::mutex mutex;
    std::condition_variable finished;
};
