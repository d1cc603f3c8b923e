#pragma once
// A FileProcessor over a fresh in-memory disk that records its report lines.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "fileops/file_processor.h"
#include "tests/support/cpy_samples.h"
#include "tests/support/memory_file_system.h"

inline const char* const kSource = "C:\\data\\report.txt";
inline const char* const kOutput = "C:\\data\\ABCDEFGHIJKLM.cpy";
inline const size_t kMiB = 1 << 20;

struct Line {
    std::string text;
    ReportKind kind;
};

// A processor over a fresh in-memory disk, recording its report lines.
template <class Disk = MemoryFileSystem>
struct BasicRig {
    explicit BasicRig(int codePage = 1252) {
        fs.SetCodePage(codePage);
        texts.SetDefaults();
        texts.SetText("message", "Message");
        texts.SetText("error", "Error");
        processor.SetReportSink([this](const std::string& line, ReportKind kind) {
            lines.push_back({line, kind});
        });
        processor.SetPassword("secret");
        fs.AddFolder("C:\\data");
    }

    // The one line reported, in the form "Message : <key><suffix> : <path>".
    void ExpectOnlyLine(ReportKind kind, const std::string& keyAndSuffix,
                        const std::string& path) const {
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].kind, kind);
        EXPECT_EQ(lines[0].text,
                  (kind == kReportError ? "Error : " : "Message : ") + keyAndSuffix + " : " + path);
    }

    Disk fs;
    TextTable texts;
    std::atomic<bool> stop{false};  // the Stop button
    FileProcessor processor{fs, texts, stop};
    std::vector<Line> lines;
};
using Rig = BasicRig<>;

inline std::vector<uint8_t> Encrypted(const std::vector<uint8_t>& source,
                                      const std::string& password = "secret",
                                      const std::string& name = "report.txt") {
    Cast128 cipher;
    cipher.SetKey(password);
    return BuildImage(cipher, name, source);
}
