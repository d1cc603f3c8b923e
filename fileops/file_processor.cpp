#include "fileops/file_processor.h"

#include "crypto/system_random.h"
#include "fileops/output_name.h"
#include "fs/path_text.h"
#include "fs/read_only_clearance.h"

namespace {
// Names a ".cpy" output may be given before the processor gives up on it.
const int kMaxDraws = 16;
}  // namespace

FileProcessor::FileProcessor(FileSystem& fileSystem, const TextTable& texts,
                             const std::atomic<bool>& stop)
    : fs(fileSystem),
      texts(texts),
      buffer(kBufferSize),
      chunks(buffer, bytesProcessed, stop),
      random(MakeSeededGenerator()),
      finishRandom(MakeSeededGenerator()),
      finishing(std::make_unique<FinishingLine>(0, 1)) {}

// A file's steps run in order on one helper; different files' steps run side
// by side, so that their flushes overlap.
void FileProcessor::FinishBehind(size_t files, size_t helpers) {
    finishing->Drain();
    finishing = std::make_unique<FinishingLine>(files > 0 ? helpers : 0, files);
}

void FileProcessor::ReportMessage(const std::string& path, const std::string& text) {
    finishing->Add([=] { SendLine("message", kReportMessage, path, text); });
}

void FileProcessor::ReportError(const std::string& path, const std::string& text) {
    finishing->Add([=] { SendLine("error", kReportError, path, text); });
}

// A line of the file at hand, after those of the files before it.
void FileProcessor::Tell(Outcome outcome, const std::string& path) {
    if (outcome.path.empty()) outcome.path = path;
    finishing->Add([this, outcome] { Report(outcome); });
}

void FileProcessor::SendLine(const char* kindKey, ReportKind kind, const std::string& path,
                             const std::string& text) {
    if (reportSink) reportSink(texts.LookupText(kindKey) + " : " + text + " : " + path, kind);
}

void FileProcessor::Report(const Outcome& outcome) {
    const std::string text = texts.LookupText(outcome.key) + outcome.suffix;
    const bool error = outcome.kind == kReportError;
    SendLine(error ? "error" : "message", outcome.kind, outcome.path, text);
}

// The start of both directions: the counter reset, the attributes read, the
// read-only rule applied and the file opened, shared with no one. Reports and
// gives nullptr when the file cannot be taken.
FileProcessor::HandoverPtr FileProcessor::OpenOriginal(const std::string& path) {
    bytesProcessed = 0;
    auto file = std::make_shared<Handover>();
    file->originalPath = path;
    file->clearance = std::make_unique<ReadOnlyClearance>(fs, path);
    ReadOnlyClearance& clearance = *file->clearance;
    if (!clearance.ReadAttributes()) {
        Tell(Failure(kReportMessage, "message_file_open_failed"), path);
        return nullptr;
    }
    if (clearance.IsReadOnly() && !writeReadOnly) {
        Tell(Failure(kReportMessage, "message_file_attributes_failed"), path);
        return nullptr;
    }
    clearance.Clear();
    file->attributes = clearance.Attributes();
    file->original = fs.OpenReadWrite(path);
    if (file->original) return file;
    Tell(Failure(kReportMessage, "message_file_open_failed"), path);
    return nullptr;
}

// The file's last steps, on the helper when there is one. Its handles close
// and its read-only attribute comes back (unless it went) before its line.
void FileProcessor::HandOver(HandoverPtr file, Outcome (FileProcessor::*finish)(Handover&)) {
    finishing->Hand([this, file, finish]() -> FinishingLine::Report {
        Outcome outcome;
        try {
            outcome = (this->*finish)(*file);
        } catch (const std::exception& e) {
            outcome = Failure(kReportError, "error_unexpected", std::string(" (") + e.what() + ")");
        } catch (...) {
            outcome = Failure(kReportError, "error_unexpected");
        }
        file->original.reset();
        file->output.reset();
        file->clearance.reset();
        if (outcome.ok) return nullptr;
        if (outcome.path.empty()) outcome.path = file->originalPath;
        return [this, outcome] { Report(outcome); };
    });
}

// What the job compares before the original goes.
FileProcessor::Outcome FileProcessor::IdentifyOriginal(File& original, FileIdentity* read) {
    if (!original.Identify(read)) return Failure(kReportError, "error_read_file");
    return {};
}

// The original may go only as it was read: the same file, with the same
// length and last-write time, and no other name given it meanwhile.
// Otherwise it is left as it is, and so is the output made from it.
FileProcessor::Outcome FileProcessor::StillAsRead(File& original, const FileIdentity& read) {
    FileIdentity now;
    if (!original.Identify(&now)) return Failure(kReportError, "error_encryption_remove");
    if (!SameFileUnchanged(read, now) || !original.StillNamed())
        return Failure(kReportError, "error_file_changed");
    if (now.links > 1) return Failure(kReportError, "error_file_has_links");
    return {};
}

// Removed through its handle, so that no file that took its name meanwhile
// is the one that goes.
FileProcessor::Outcome FileProcessor::Removed(File& original, const std::string& path) {
    if (original.Remove()) return {};
    return Failure(kReportError, "error_encryption_remove", "", path);
}

// The body, flushed behind as it is written. A body that ends early (the
// file shrank, or a read came back short) must not pass for a whole one.
FileProcessor::Outcome FileProcessor::CipherBody(File& source, File& output, uint64_t bodyLength,
                                                 bool encrypt) {
    FlushBehind::Watch flushing(flushBehind, output, bodyLength);
    const ChunkPipeline::Result body =
        chunks.Run(source, output, bodyLength, [&](uint8_t* data, size_t length) {
            if (encrypt) {
                bodyCipher.EncryptBlocks(cipher, data, length / 8);
                return true;
            }
            if (length % 8 != 0) return false;
            bodyCipher.DecryptBlocks(cipher, data, length / 8);
            return true;
        });
    switch (body.end) {
        case ChunkPipeline::End::kWhole:
            break;
        case ChunkPipeline::End::kReadFailed:
            return Failure(kReportError, "error_read_file");
        case ChunkPipeline::End::kWriteFailed:
            return Failure(kReportError, "error_write_file");
        case ChunkPipeline::End::kStopped:
            return Failure(kReportMessage,
                           encrypt ? "message_encryption_canceled" : "message_decryption_canceled");
        case ChunkPipeline::End::kRefused:
            return Failure(kReportError, "error_broken_tarnu_format");
    }
    if (!flushing.Finish()) return Failure(kReportError, "error_write_file");
    if (body.total != bodyLength) return Failure(kReportError, "error_read_file");
    return {};
}

// Everything written must be on the device, and the file closed without
// error, before the original may go.
FileProcessor::Outcome FileProcessor::FinishOutput(File& output) {
    if (!output.Flush() || !output.Close()) return Failure(kReportError, "error_write_file");
    return {};
}

// The output, complete, takes the original's times and the attributes, is
// flushed and closed, then takes its final name (see Publish); on a failure
// it is removed. A failure to write names the original, as while the output
// was written; one to stamp or name it names failedPath, or the original.
FileProcessor::Outcome FileProcessor::PublishOutput(Handover& file, bool drawAgain,
                                                    const std::string& failedPath) {
    Outcome outcome = CopyStatus(*file.original, *file.output, file.attributes);
    if (outcome.ok) {
        outcome = FinishOutput(*file.output);
    } else {
        outcome.path = failedPath;
    }
    file.output.reset();
    if (outcome.ok) {
        outcome = Publish(file.temporaryPath, file.outputPath, drawAgain);
        if (!outcome.ok && outcome.path.empty()) outcome.path = failedPath;
    }
    if (!outcome.ok) RemoveOutput(file.temporaryPath);
    return outcome;
}

// Gives the complete output its final name with a rename that replaces
// nothing and is on the device when it returns. A ".cpy" name taken since it
// was drawn is drawn again; a restored file's name taken meanwhile is refused,
// as it is when taken before. A rename that happened but could not be made
// durable is undone: the original must not go before its output is safe.
FileProcessor::Outcome FileProcessor::Publish(const std::string& temporaryPath,
                                              std::string finalPath, bool drawAgain) {
    for (int draws = 0; draws < kMaxDraws; ++draws) {
        const MoveResult moved = fs.Move(temporaryPath, finalPath);
        if (moved) return {};
        if (moved.renamed) {
            RemoveOutput(finalPath);
            break;
        }
        uint32_t taken = 0;
        if (!fs.GetAttributes(finalPath, &taken)) break;
        if (!drawAgain) return Failure(kReportError, "error_same_filename", "", finalPath);
        const std::lock_guard<std::mutex> lock(finishRandomLock);
        finalPath = FolderPrefixOf(finalPath, fs.NameCodePage()) + DrawCpyName(finishRandom);
    }
    return Failure(kReportError, "error_write_file");
}

// The output takes the times (and mode) of the original and the given
// attributes, in one call: the attributes the original has now would only be
// set to be set again. Through the handles both are open with, before the
// output's flush, which then stores its status too: each open of a path
// costs Wine a round trip to its server.
FileProcessor::Outcome FileProcessor::CopyStatus(File& original, File& output,
                                                 uint32_t attributes) {
    FileStatus status;
    if (!original.GetStatus(&status)) return Failure(kReportError, "error_file_status");
    status.attributes = attributes;
    if (!output.SetStatus(status)) return Failure(kReportError, "error_file_status");
    return {};
}

// The output may already carry a read-only attribute; clear it to delete.
void FileProcessor::RemoveOutput(const std::string& outputPath) {
    if (!fs.Delete(outputPath)) {
        fs.SetAttributes(outputPath, attr::kNormal);
        fs.Delete(outputPath);
    }
}

bool FileProcessor::ReadExactly(File& file, void* data, size_t length) {
    size_t got = 0;
    return file.Read(data, length, &got) && got == length;
}
