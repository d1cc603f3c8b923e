#pragma once
// Encrypts one file into a ".cpy" file, or restores one, and reports every
// outcome as one line to its sink. Each output is written under a temporary
// name and renamed only once complete, and the original is never removed
// before its counterpart is on disk under its final name. Those last steps
// (flush, stamp, final name, removal) may run on a helper while the next
// file is read and written; every line is still reported in the files' order.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "base/finishing_line.h"
#include "crypto/cast128.h"
#include "crypto/split_cipher.h"
#include "fileops/chunk_pipeline.h"
#include "fileops/flush_behind.h"
#include "fileops/report_kind.h"
#include "fs/file_system.h"
#include "lang/text_table.h"

// <windows.h> maps EncryptFile and DecryptFile to its own functions by macro:
// take them back for a Windows source that included it first. (One that
// includes it later fails to compile at its first call, never silently.)
#undef EncryptFile
#undef DecryptFile

class ReadOnlyClearance;

class FileProcessor {
  public:
    static constexpr size_t kBufferSize = ChunkPipeline::kChunkSize;
    using ReportSink = std::function<void(const std::string& line, ReportKind kind)>;

    // stop is set from another thread to end the file at hand before its
    // next body chunk; it is its owner's to clear between jobs (a Stop that
    // lands as a file opens still stops that file). Without one nothing
    // stops the processor.
    explicit FileProcessor(FileSystem& fileSystem, const TextTable& texts = Texts(),
                           const std::atomic<bool>& stop = kNeverStopped);

    void SetReportSink(ReportSink sink) { reportSink = std::move(sink); }
    void SetPassword(const std::string& password) { cipher.SetKey(password); }
    // After a job: the key, its schedule and the buffers' last contents are
    // overwritten.
    void ForgetPassword() {
        cipher.Clear();
        chunks.Wipe();
    }

    // Each file's last steps run on a helper while the next files are
    // written, at most files at a time; with 0 (the default) every file is
    // finished before its call returns.
    void FinishBehind(size_t files, size_t helpers = 1);
    void EncryptFile(const std::string& sourcePath, const std::string& outputPath);
    void DecryptFile(const std::string& cpyPath);
    // Returns once every file handed to the helper is finished and reported.
    void FinishAll() { finishing->Drain(); }

    // Bytes handled for the current file: header and body.
    uint64_t GetCounters() const { return bytesProcessed; }
    // Bytes of wipe passes done since the last call, for any file.
    uint64_t TakeFinishingCounters() { return finishedBytes.exchange(0); }
    // At the start of a job, so that no figure of the last one shows.
    void ResetCounters() {
        bytesProcessed = 0;
        finishedBytes = 0;
    }

    // "<message> : <text> : <path>", handed to the sink whole, after the
    // lines of every file handed over before.
    void ReportMessage(const std::string& path, const std::string& text);
    void ReportError(const std::string& path, const std::string& text);

    bool wipeZero = false;
    bool wipeRandom = false;
    bool writeReadOnly = false;

    // One report: its kind, text key, literal suffix and the path it names.
    struct Outcome {
        bool ok = true;
        ReportKind kind = kReportMessage;
        std::string key, suffix, path;
    };
    static Outcome Failure(ReportKind kind, std::string key, std::string suffix = "",
                           std::string path = "") {
        return {false, kind, std::move(key), std::move(suffix), std::move(path)};
    }

  private:
    // One file between the end of its writing and its end.
    struct Handover {
        std::unique_ptr<ReadOnlyClearance> clearance;  // first, so the handles close before it
        std::unique_ptr<File> original, output;
        FileIdentity read;
        std::string originalPath, temporaryPath, outputPath;
        uint32_t attributes = 0;
    };
    using HandoverPtr = std::shared_ptr<Handover>;

    static inline const std::atomic<bool> kNeverStopped{false};
    friend class FileProcessorProbe;  // tests read the key after a job

    HandoverPtr OpenOriginal(const std::string& path);
    void HandOver(HandoverPtr file, Outcome (FileProcessor::*finish)(Handover&));
    Outcome WriteEncryptedFile(Handover& file);
    Outcome WriteEncryptedContent(File& source, File& output, const std::string& sourcePath);
    Outcome FinishEncryption(Handover& file);
    Outcome WipeAndRemove(Handover& file);
    bool WipePass(File& source, const std::vector<uint8_t>& pattern, uint64_t length);
    std::string DigitName(const std::string& path);

    Outcome ReadHeader(Handover& cpy);
    Outcome WriteDecryptedFile(Handover& cpy);
    Outcome WriteDecryptedContent(File& cpy, File& output, uint64_t cpyLength);
    Outcome FinishDecryption(Handover& cpy);

    Outcome IdentifyOriginal(File& original, FileIdentity* read);
    Outcome StillAsRead(File& original, const FileIdentity& read);
    Outcome Removed(File& original, const std::string& path);
    Outcome CipherBody(File& source, File& output, uint64_t bodyLength, bool encrypt);
    Outcome FinishOutput(File& output);
    Outcome PublishOutput(Handover& file, bool drawAgain, const std::string& failedPath);
    Outcome Publish(const std::string& temporaryPath, std::string finalPath, bool drawAgain);
    Outcome CopyStatus(File& original, File& output, uint32_t attributes);
    static bool ReadExactly(File& file, void* data, size_t length);
    void RemoveOutput(const std::string& outputPath);
    void Tell(Outcome outcome, const std::string& path);
    void Report(const Outcome& outcome);
    void SendLine(const char* kindKey, ReportKind kind, const std::string& path,
                  const std::string& text);

    FileSystem& fs;
    const TextTable& texts;
    ReportSink reportSink;
    Cast128 cipher;
    SplitCipher bodyCipher;  // the body chunks, on two cores
    std::vector<uint8_t> buffer;
    std::atomic<uint64_t> bytesProcessed{0};
    FlushBehind flushBehind{bytesProcessed};  // large outputs, while written
    ChunkPipeline chunks;
    std::mt19937 random;
    // The finishing steps' own, as they may run beside the next file.
    std::atomic<uint64_t> finishedBytes{0};
    std::mutex finishRandomLock;  // helpers finish files side by side
    std::mt19937 finishRandom;
    // Last: it finishes what it holds before anything it uses goes.
    std::unique_ptr<FinishingLine> finishing;
};
