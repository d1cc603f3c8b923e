#pragma once
// The one long-lived thread that does all work on files. Each job its owner
// starts is a task on it: it collects the job's files, processes them one at
// a time and tells the owner when the job is over.

#include <atomic>
#include <random>
#include <string>
#include <vector>

#include "base/task_thread.h"
#include "engine/worker_owner.h"
#include "fileops/file_processor.h"

enum JobKind { kJobEncrypt = 1, kJobDecrypt = 2 };

class WorkerThread {
  public:
    // Files written whose flush, final name and original's removal wait for
    // the helpers, which finish them side by side (the file system joins
    // their flushes): enough to keep the device busy, few handles held.
    static constexpr size_t kFilesFinishedBehind = 8;
    static constexpr size_t kFinishingHelpers = 4;
    explicit WorkerThread(FileSystem& fileSystem, const TextTable& texts = Texts());
    ~WorkerThread();

    // Readies the worker for the owner, which must outlive it; the thread
    // itself starts with the first job.
    void Start(WorkerOwner& owner);
    // Waits for the job running, if any, to end; after RequestQuit none
    // follows, so the worker is done with the owner.
    void Join();
    // True from Start until Quit is requested and no job runs.
    bool IsRunning() const { return owner && (!quit || jobs.Busy()); }

    // Owner side: the queue, password and options are written only while no
    // job runs, before StartJob. The password is wiped when the job ends.
    // Returns at once; the owner hears of the end through JobFinished. After
    // RequestQuit no job starts.
    void StartJob(JobKind kind);
    // Stop holds until the job ends: it ends the file at hand and no other
    // file is begun.
    void RequestStop();
    void RequestQuit();
    FileProcessor& Processor() { return processor; }
    // After a job: whether its log held nothing but its start, the look at
    // the files and its end; a refusal, a skipped entry, a Stop or any line
    // about a file means the user should see the log.
    bool LastJobWasClean() const { return jobClean; }

    std::string password;
    std::string programFolder;
    std::string programPath;
    std::string systemDrive;
    std::string systemDirectory;
    std::string windowsDirectory;
    std::vector<std::string> jobPaths;  // examined from the last added

    // The job's file list from jobPaths; false on a refusal (already logged).
    bool CollectFiles(std::vector<std::string>& files, JobKind kind);
    bool WalkDirectory(std::vector<std::string>& files, const std::string& folder, JobKind kind);
    // Whether a job of kind passes over the file at path without a line in
    // its log: a file it has no business with.
    bool Ignores(const std::string& path, JobKind kind) const;
    // A name of 13 random letters and digits with ".cpy" in folder.
    std::string MakeOutputName(const std::string& folder);

  private:
    void RunTask(JobKind kind);
    void RunJob(JobKind kind);
    void EndJob();
    std::string Unexpected(const char* what) const;
    void ForgetPassword();
    void WarnOfLongPassword();
    void ProcessFiles(std::vector<std::string>& files, JobKind kind);
    void ProcessFile(const std::string& path, JobKind kind);
    void TakeFile(std::vector<std::string>& files, const std::string& path, const FindEntry& found,
                  JobKind kind);
    void TakeIfWanted(std::vector<std::string>& files, const std::string& path, uint64_t size,
                      JobKind kind);
    bool CollectEntry(std::vector<std::string>& files, const std::string& entry, JobKind kind);
    void Log(const std::string& key);
    void LogRemark(const std::string& text);
    bool Refuse(const std::string& key);
    void LogPath(const std::string& key, const std::string& path);
    bool IsSpelledWhole(const std::string& name) const;

    // Before the processor, which reads its cancel request. The destructor
    // waits for the job, so the thread is idle when the members it uses go.
    TaskThread jobs;
    FileSystem& fs;
    const TextTable& texts;
    FileProcessor processor;
    WorkerOwner* owner = nullptr;
    std::atomic<bool> quit{false};
    std::atomic<bool> jobClean{true};
    std::mt19937 random;
};
