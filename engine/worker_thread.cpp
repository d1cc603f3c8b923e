#include "engine/worker_thread.h"

#include <cstring>
#include <exception>

#include "crypto/cast128.h"
#include "crypto/system_random.h"
#include "crypto/wipe.h"
#include "fileops/path_text.h"

WorkerThread::WorkerThread(FileSystem& fileSystem, const TextTable& texts)
    : fs(fileSystem), texts(texts), processor(fileSystem, texts), random(MakeSeededGenerator()) {}

WorkerThread::~WorkerThread() {
    if (thread.joinable()) {
        RequestQuit();
        thread.join();
    }
    ForgetPassword();
}

// The password lives for one job: the owner hands it over for each.
void WorkerThread::ForgetPassword() {
    WipeString(password);
    processor.ForgetPassword();
}

void WorkerThread::Start(WorkerOwner& newOwner) {
    owner = &newOwner;
    // Zeroed before the thread runs: zeroed on it, late, they would lose what
    // the caller counted meanwhile.
    JobProgress& progress = owner->Progress();
    progress.start = progress.done = progress.total = 0;
    processor.SetReportSink([this](const std::string& line, ReportKind kind) {
        jobClean = false;
        owner->ReportLine(line, kind);
    });
    thread = std::thread(&WorkerThread::Run, this);
}

void WorkerThread::Join() {
    if (thread.joinable()) thread.join();
}

// A Stop that arrives after a job ended must not cancel the next one, and
// the last file's count must not show in the next job's progress.
void WorkerThread::StartJob(JobKind kind) {
    processor.cancelRequested = false;
    processor.ResetCounters();
    operation = kind;
    events.Reset(WorkerEvent::kStop);
    events.Set(WorkerEvent::kStart);
}

void WorkerThread::RequestStop() {
    processor.cancelRequested = true;
    events.Set(WorkerEvent::kStop);
}

void WorkerThread::RequestQuit() {
    processor.cancelRequested = true;
    events.Set(WorkerEvent::kQuit);
}

// The job loop: one job per start, until quit. The owner hears of the end
// of a job only once the worker is idle again, with its counters at zero.
void WorkerThread::Run() {
    JobProgress& progress = owner->Progress();
    while (events.WaitForQuitOrStart() == WorkerEvent::kStart) {
        RunJob(operation);
        ForgetPassword();
        jobPaths.clear();
        events.Reset(WorkerEvent::kStart);
        events.Reset(WorkerEvent::kStop);
        processor.cancelRequested = false;
        progress.start = progress.done = progress.total = 0;
        owner->JobFinished();
    }
    ended = true;
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
        if (events.IsSet(WorkerEvent::kQuit) || events.IsSet(WorkerEvent::kStop)) {
            LogRemark(texts.LookupText(kind == kJobEncrypt ? "message_encryption_canceled"
                                                           : "message_decryption_canceled"));
            return;
        }
        const std::string path = files.back();
        owner->SetPromptText(FileNameOf(path, fs.NameCodePage()));
        ProcessFile(path, kind);
        files.pop_back();
        owner->Progress().done += processor.GetCounters();
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
        processor.ReportError(path, texts.LookupText("error_unexpected") + " (" + e.what() + ")");
    } catch (...) {
        processor.ReportError(path, texts.LookupText("error_unexpected"));
    }
}

void WorkerThread::Log(const std::string& key) { owner->AddLogLine(texts.LookupText(key)); }

// A line beyond the job's notices: the job was not clean.
void WorkerThread::LogRemark(const std::string& text) {
    jobClean = false;
    owner->AddLogLine(text);
}
