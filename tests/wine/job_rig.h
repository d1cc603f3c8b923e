#pragma once
// A worker over the real file system, speaking the shipped English texts, for
// the suites that make files fail under a running job.

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "engine/worker_thread.h"
#include "lang/language_file.h"
#include "lang/language_parser.h"
#include "platform/win32_file_system.h"
#include "tests/support/recording_owner.h"
#include "tests/wine/temp_folder.h"

// What a file is: contents, attributes and last-write time.
struct FileState {
    std::vector<uint8_t> bytes;
    uint32_t attributes = 0;
    uint64_t lastWriteTime = 0;
    bool operator==(const FileState& o) const {
        return bytes == o.bytes && attributes == o.attributes && lastWriteTime == o.lastWriteTime;
    }
};

// Every file below folder with its state; read-only files are read too.
inline std::map<std::string, FileState> Snapshot(const std::string& folder) {
    std::vector<std::string> paths;
    ListTree(folder, &paths);
    std::map<std::string, FileState> states;
    Win32FileSystem fs;
    for (const auto& path : paths) {
        FileStatus status;
        fs.GetStatus(path, &status);
        fs.SetAttributes(path, attr::kNormal);
        states[path] = {ReadWholeFile(path), status.attributes, status.lastWriteTime};
        fs.SetAttributes(path, status.attributes);
    }
    return states;
}

inline bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

class JobRig : public ::testing::Test {
  protected:
    JobRig() {
        std::vector<char> text;
        Win32FileSystem files;
        EXPECT_TRUE(ReadLanguageFile(files, TARNU_LANG_DIR "/english.zen", &text));
        if (!text.empty()) ParseLanguageText(text.data(), texts);
        worker.Start(owner);
    }
    ~JobRig() override {
        worker.RequestQuit();
        worker.Join();
    }

    // The password is handed over for every job, as the window does.
    void RunJob(JobKind kind, const std::string& path) {
        worker.password = password;
        owner.reports.clear();
        owner.lines.clear();
        owner.prompts.clear();
        worker.jobPaths = {path};
        const int before = owner.jobsFinished;
        worker.StartJob(kind);
        ASSERT_TRUE(owner.WaitForJobs(before + 1));
    }

    // A line as the product words it: "<kind> : <text> : <path>".
    std::string Line(const char* kindKey, const char* key, const std::string& path) const {
        return texts.LookupText(kindKey) + " : " + texts.LookupText(key) + " : " + path;
    }

    Win32FileSystem fs;
    TextTable texts;
    WorkerThread worker{fs, texts};
    RecordingOwner owner;
    std::string password = "fault password";
};
