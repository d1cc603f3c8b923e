#include "engine/worker_thread.h"

#include <exception>

#include "crypto/system_random.h"
#include "fileops/path_text.h"

WorkerThread::WorkerThread(FileSystem& fileSystem, const TextTable& texts)
    : fs(fileSystem), texts(texts), processor(fileSystem, texts), random(MakeSeededGenerator()) {}

WorkerThread::~WorkerThread() {
    if (thread.joinable()) {
        RequestQuit();
        thread.join();
    }
}

void WorkerThread::Start(WorkerOwner& newOwner) {
    owner = &newOwner;
    // Zeroed before the thread runs: zeroed on it, late, they would lose what
    // the caller counted meanwhile.
    JobProgress& progress = owner->Progress();
    progress.start = progress.done = progress.total = 0;
    processor.SetReportSink(
        [this](const std::string& line, ReportKind kind) { owner->ReportLine(line, kind); });
    thread = std::thread(&WorkerThread::Run, this);
}

void WorkerThread::Join() {
    if (thread.joinable()) thread.join();
}

// A Stop that arrives after a job ended must not cancel the next one.
void WorkerThread::StartJob(int kind) {
    processor.cancelRequested = false;
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
        jobPaths.clear();
        events.Reset(WorkerEvent::kStart);
        events.Reset(WorkerEvent::kStop);
        processor.cancelRequested = false;
        progress.start = progress.done = progress.total = 0;
        owner->JobFinished();
    }
    ended = true;
}

void WorkerThread::RunJob(int kind) {
    if (kind != kJobEncrypt && kind != kJobDecrypt) return;
    const bool encrypt = kind == kJobEncrypt;
    Log(encrypt ? "message_encryption_started" : "message_decryption_started");
    Log("message_problem_analysis");
    processor.SetPassword(password);
    std::vector<std::string> files;
    if (CollectFiles(files, kind)) ProcessFiles(files, kind);
    Log(encrypt ? "message_encryption_finished" : "message_decryption_finished");
}

// Last collected first; Stop or Quit is honoured before each file.
void WorkerThread::ProcessFiles(std::vector<std::string>& files, int kind) {
    while (!files.empty()) {
        if (events.IsSet(WorkerEvent::kQuit) || events.IsSet(WorkerEvent::kStop)) {
            Log(kind == kJobEncrypt ? "message_encryption_canceled"
                                    : "message_decryption_canceled");
            return;
        }
        const std::string path = files.back();
        owner->SetPromptText(FileNameOf(path));
        ProcessFile(path, kind);
        files.pop_back();
        owner->Progress().done += processor.GetCounters();
    }
}

// Nothing that goes wrong with one file may end the thread: it becomes that
// file's error line and the job goes on.
void WorkerThread::ProcessFile(const std::string& path, int kind) {
    try {
        if (kind == kJobEncrypt) {
            std::string folder = FolderPrefixOf(path);
            if (!folder.empty()) folder.pop_back();
            processor.EncryptFile(path, MakeOutputName(folder));
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
