// Turning the queued files, folders and drives into the job's file list.

#include "engine/worker_thread.h"
#include "fileops/output_name.h"
#include "fs/path_text.h"

namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

bool WorkerThread::CollectFiles(std::vector<std::string>& files, JobKind kind) {
    while (!jobPaths.empty()) {
        if (!CollectEntry(files, jobPaths.back(), kind)) return false;
        jobPaths.pop_back();
    }
    return true;
}

// One queued entry: a drive, a folder or a file. False on a refusal.
bool WorkerThread::CollectEntry(std::vector<std::string>& files, const std::string& entry,
                                JobKind kind) {
    const CodePage& names = fs.NameCodePage();
    if (!entry.empty() && entry.back() == ':') {
        if (names.SameIgnoringCase(entry, systemDrive)) return Refuse("error_directory_systemroot");
        if (!WalkDirectory(files, entry, kind)) return Refuse("message_file_seek_failed");
        return true;
    }
    if (!IsSpelledWhole(entry)) {
        LogPath("message_name_not_in_code_page", entry);
        return true;
    }
    std::unique_ptr<Finder> finder = fs.Find(entry);
    FindEntry found;
    if (!finder || !finder->Next(&found)) {
        // Not there: dropped. Unreadable: said, so it is not taken for done.
        if (!finder || finder->BrokeOff()) LogPath("message_file_seek_failed", entry);
        return true;
    }
    if (!(found.attributes & attr::kDirectory)) {
        TakeFile(files, entry, found, kind);
        return true;
    }
    if (IsDotEntry(found.name)) return true;
    if (names.SameIgnoringCase(entry, systemDirectory)) return Refuse("error_directory_system");
    if (names.SameIgnoringCase(entry, windowsDirectory)) return Refuse("error_directory_windows");
    if (!WalkDirectory(files, entry, kind)) return Refuse("message_file_seek_failed");
    return true;
}

// Depth first without recursion: a folder's files before anything below it,
// its last listed subfolder first. A subfolder that cannot be listed, or
// whose listing breaks off, is logged: its missing files must not pass
// silently for done. Links to folders are not followed, so a link back into
// the tree cannot make the walk endless; other reparse points (a cloud
// folder) are walked as folders.
bool WorkerThread::WalkDirectory(std::vector<std::string>& files, const std::string& folder,
                                 JobKind kind) {
    std::vector<std::string> pending;
    std::string current = folder;
    for (bool top = true;; top = false) {
        std::unique_ptr<Finder> finder = fs.Find(current + "\\*");
        if (!finder && top) return false;
        FindEntry entry;
        while (finder && finder->Next(&entry)) {
            if (IsDotEntry(entry.name)) continue;
            const std::string path = current + "\\" + entry.name;
            const bool folder = (entry.attributes & attr::kDirectory) != 0;
            if (folder && !IsSpelledWhole(entry.name)) {
                LogPath("message_name_not_in_code_page", path);
            } else if (!folder) {
                TakeFile(files, path, entry, kind);
            } else if (IsLink(entry.attributes, entry.reparseTag)) {
                LogPath("message_link_skipped", path);
            } else {
                pending.push_back(path);
            }
        }
        if (!finder || finder->BrokeOff()) LogPath("message_file_seek_failed", current);
        if (pending.empty()) return true;
        current = pending.back();
        pending.pop_back();
    }
}

// Encryption takes every file but ".cpy" files and the program itself,
// decryption only ".cpy" files. The unfinished output of a job that was cut
// off is for neither job, but is named in the log.
bool WorkerThread::Ignores(const std::string& path, JobKind kind) const {
    if (IsTemporaryPath(path)) return false;
    if (kind == kJobDecrypt) return !EndsInCpy(path);
    return EndsInCpy(path) || fs.NameCodePage().SameIgnoringCase(path, programPath);
}

// A file the job would work on but cannot open by its name, and an unfinished
// output, are named in the log and left alone; one the job would not work on
// is not named, whatever its name. Encryption plans a file's size once per
// pass over it (body, zero wipe, random wipe).
void WorkerThread::TakeIfWanted(std::vector<std::string>& files, const std::string& path,
                                uint64_t size, JobKind kind) {
    if (Ignores(path, kind)) return;
    if (!IsSpelledWhole(path)) return LogPath("message_name_not_in_code_page", path);
    if (IsTemporaryPath(path)) return LogPath("message_interrupted_output", path);
    const uint64_t passes =
        kind == kJobEncrypt ? 1 + (processor.wipeZero ? 1 : 0) + (processor.wipeRandom ? 1 : 0) : 1;
    files.push_back(path);
    owner->Progress().total += passes * size;
}

// A link to a file the job would work on is left alone, named in the log:
// its target may lie outside what the user chose, and a job would wipe that
// and leave it in place under its own name.
void WorkerThread::TakeFile(std::vector<std::string>& files, const std::string& path,
                            const FindEntry& found, JobKind kind) {
    if (!IsLink(found.attributes, found.reparseTag))
        return TakeIfWanted(files, path, found.size, kind);
    if (!Ignores(path, kind)) LogPath("message_file_link_skipped", path);
}

// A name the code page cannot spell comes from the listing with '?' in place
// of the characters it lacks: no file of that name can be opened, so it is
// named in the log and left alone, never taken for done.
bool WorkerThread::IsSpelledWhole(const std::string& name) const {
    return FindCharacter(name, "?", fs.NameCodePage()) == std::string::npos;
}

// A line that names what was passed over, and why.
void WorkerThread::LogPath(const std::string& key, const std::string& path) {
    LogRemark(texts.LookupText(key) + " : " + path);
}

// Logs why the job is refused.
bool WorkerThread::Refuse(const std::string& key) {
    LogRemark(texts.LookupText(key));
    return false;
}

// Not looked up: a name that is taken when the output is complete is drawn
// again then, and a lookup of a name that is not there costs Wine a scan of
// the whole folder.
std::string WorkerThread::MakeOutputName(const std::string& folder) {
    return folder + "\\" + DrawCpyName(random);
}
