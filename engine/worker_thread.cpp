#include "engine/worker_thread.h"

#include <cstring>
#include <exception>

#include "crypto/cast128.h"
#include "crypto/system_random.h"
#include "crypto/wipe.h"
#include "fs/path_text.h"

WorkerThread::WorkerThread(FileSystem& fileSystem, const TextTable& texts)
    : fs(fileSystem),
      texts(texts),
      processor(fileSystem, texts, jobs.CancelRequested()),
      random(MakeSeededGenerator()) {
    processor.FinishBehind(kFilesFinishedBehind, kFinishingHelpers);
}

WorkerThread::~WorkerThread() {
    RequestQuit();
    Join();
    ForgetPassword();
}

// The password lives for one job: the owner hands it over for each.
void WorkerThread::ForgetPassword() {
    WipeString(password);
    processor.ForgetPassword();
}

void WorkerThread::Start(WorkerOwner& newOwner) {
    owner = &newOwner;
    // Zeroed before any job runs: zeroed on the thread, late, they would lose
    // what the caller counted meanwhile.
    JobProgress& progress = owner->Progress();
    progress.start = progress.done = progress.total = 0;
    processor.SetReportSink([this](const std::string& line, ReportKind kind) {
        jobClean = false;
        owner->ReportLine(line, kind);
    });
}

void WorkerThread::Join() { jobs.Wait(); }

// The last file's count must not show in the next job's progress. A Stop
// that arrived after the last job ended is cleared by the hand-over. With no
// thread the job ends at once, saying so, like any other.
void WorkerThread::StartJob(JobKind kind) {
    if (quit) return;
    processor.ResetCounters();
    if (jobs.Hand([this, kind] { RunTask(kind); })) return;
    LogRemark(Unexpected("no thread for the job"));
    EndJob();
}

void WorkerThread::RequestStop() { jobs.RequestCancel(); }

void WorkerThread::RequestQuit() {
    quit = true;
    jobs.RequestCancel();
}

// What escapes the job outside any file still ends it as every job ends.
void WorkerThread::RunTask(JobKind kind) {
    try {
        RunJob(kind);
    } catch (const std::exception& e) {
        LogRemark(Unexpected(e.what()));
    } catch (...) {
        LogRemark(Unexpected(nullptr));
    }
    EndJob();
}

// The owner hears of the end of a job only once the worker is idle again,
// with its counters at zero.
void WorkerThread::EndJob() {
    processor.FinishAll();
    ForgetPassword();
    jobPaths.clear();
    JobProgress& progress = owner->Progress();
    progress.start = progress.done = progress.total = 0;
    owner->JobFinished();
}

std::string WorkerThread::Unexpected(const char* what) const {
    const std::string text = texts.LookupText("error_unexpected");
    return what ? text + " (" + what + ")" : text;
}

void WorkerThread::RunJob(JobKind kind) {
    if (kind != kJobEncrypt && kind != kJobDecrypt) return;
    const bool encrypt = kind == kJobEncrypt;
    jobClean = true;
    Log(encrypt ? "message_encryption_started" : "message_decryption_started");
    WarnOfLongPassword();
    Log("message_problem_analysis");
    processor.SetPassword(password);
    std::vector<std::string> files;
    if (CollectFiles(files, kind)) ProcessFiles(files, kind);
    Log(encrypt ? "message_encryption_finished" : "message_decryption_finished");
}

// The key takes the password's bytes before the first zero byte, at most 16;
// a user who typed more must learn that the rest adds nothing (and the window
// stays open to say so).
void WorkerThread::WarnOfLongPassword() {
    if (std::strlen(password.c_str()) > size_t(Cast128::kKeySize)) {
        LogRemark(texts.LookupText("message_password_truncated"));
    }
}

// Last collected first; Stop or Quit is honoured before each file.
void WorkerThread::ProcessFiles(std::vector<std::string>& files, JobKind kind) {
    while (!files.empty()) {
        if (jobs.CancelRequested()) {
            LogRemark(texts.LookupText(kind == kJobEncrypt ? "message_encryption_canceled"
                                                           : "message_decryption_canceled"));
            return;
        }
        const std::string path = files.back();
        owner->SetPromptText(FileNameOf(path, fs.NameCodePage()));
        ProcessFile(path, kind);
        files.pop_back();
        owner->Progress().done += processor.GetCounters() + processor.TakeFinishingCounters();
    }
}

// Nothing that goes wrong with one file may end the thread: it becomes that
// file's error line and the job goes on.
void WorkerThread::ProcessFile(const std::string& path, JobKind kind) {
    try {
        if (kind == kJobEncrypt) {
            processor.EncryptFile(path, MakeOutputName(FolderOf(path, fs.NameCodePage())));
        } else {
            processor.DecryptFile(path);
        }
    } catch (const std::exception& e) {
        processor.ReportError(path, Unexpected(e.what()));
    } catch (...) {
        processor.ReportError(path, Unexpected(nullptr));
    }
}

// The job's own lines come after those of every file handed over before.
void WorkerThread::Log(const std::string& key) {
    processor.FinishAll();
    owner->AddLogLine(texts.LookupText(key));
}

// A line beyond the job's notices: the job was not clean.
void WorkerThread::LogRemark(const std::string& text) {
    processor.FinishAll();
    jobClean = false;
    owner->AddLogLine(text);
}
