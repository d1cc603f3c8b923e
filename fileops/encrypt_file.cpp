// Encryption of one file into a ".cpy" file.

#include <cstring>

#include "fileops/cpy_layout.h"
#include "fileops/file_processor.h"
#include "fileops/output_name.h"
#include "fileops/stored_name.h"
#include "fs/path_text.h"
#include "fs/read_only_clearance.h"

// A name that decryption would refuse is refused here, before anything is
// written: the file would otherwise be locked in its ".cpy" file. A file with
// other names is left as it is: wiping it would destroy what they hold, and
// encrypting it while they keep the plain content would protect nothing.
void FileProcessor::EncryptFile(const std::string& sourcePath, const std::string& outputPath) {
    bytesProcessed = 0;
    const char* refusal =
        StoredNameRefusal(FileNameOf(sourcePath, fs.NameCodePage()), fs.NameCodePage());
    if (refusal) return Tell(Failure(kReportError, refusal), sourcePath);
    HandoverPtr file = OpenOriginal(sourcePath);
    if (!file) return;
    file->outputPath = outputPath;
    Outcome outcome = IdentifyOriginal(*file->original, &file->read);
    if (outcome.ok && file->read.links > 1) outcome = Failure(kReportError, "error_file_has_links");
    if (outcome.ok) outcome = WriteEncryptedFile(*file);
    if (!outcome.ok) return Tell(outcome, sourcePath);
    HandOver(std::move(file), &FileProcessor::FinishEncryption);
}

// Writes the output under a temporary name; on a failure it is removed.
FileProcessor::Outcome FileProcessor::WriteEncryptedFile(Handover& file) {
    file.temporaryPath = TemporaryPathBeside(file.outputPath, fs.NameCodePage(), random);
    file.output = fs.Create(file.temporaryPath);
    if (!file.output) return Failure(kReportMessage, "message_file_create_failed");
    const Outcome outcome = WriteEncryptedContent(*file.original, *file.output, file.originalPath);
    if (outcome.ok) return outcome;
    file.output.reset();
    RemoveOutput(file.temporaryPath);
    return outcome;
}

// The output takes its name, or a name drawn anew when that was taken
// meanwhile; only then does the source go.
FileProcessor::Outcome FileProcessor::FinishEncryption(Handover& file) {
    Outcome outcome = PublishOutput(file, true, "");
    if (!outcome.ok) return outcome;
    outcome = WipeAndRemove(file);
    if (outcome.ok) file.clearance->Keep();
    return outcome;
}

// The key check block, name block, tail block and body.
FileProcessor::Outcome FileProcessor::WriteEncryptedContent(File& source, File& output,
                                                            const std::string& sourcePath) {
    uint8_t keyBlock[cpy::kKeyCheckSize];
    if (const char* refusal = cpy::SealKeyCheckBlock(cipher, keyBlock)) {
        return Failure(std::strcmp(refusal, "error_word") == 0 ? kReportMessage : kReportError,
                       refusal);
    }
    if (!output.Write(keyBlock, sizeof keyBlock)) return Failure(kReportError, "error_write_file");
    bytesProcessed += sizeof keyBlock;

    uint8_t nameBlock[cpy::kNameBlockSize];
    if (const char* refusal =
            cpy::SealNameBlock(cipher, FileNameOf(sourcePath, fs.NameCodePage()), nameBlock)) {
        return Failure(kReportError, refusal);
    }
    if (!output.Write(nameBlock, sizeof nameBlock))
        return Failure(kReportError, "error_write_file");
    bytesProcessed += sizeof nameBlock;

    uint64_t length = 0;
    if (!source.Length(&length)) return Failure(kReportError, "error_read_file");
    const size_t lead = cpy::LeadCount(length);
    if (lead > 0 && !ReadExactly(source, buffer.data(), lead)) {
        return Failure(kReportError, "error_read_file", ":Leave");
    }
    uint8_t tail[cpy::kTailBlockSize];
    cpy::SealTailBlock(cipher, buffer.data(), lead, tail);
    if (!output.Write(tail, sizeof tail)) return Failure(kReportError, "error_write_file");
    bytesProcessed += sizeof tail;
    return CipherBody(source, output, length - lead, true);
}

// Removes the source, still the file that was read, through its handle;
// with a wipe option it first takes a name of digits, so that whatever a
// crash leaves is never under the user's name, and is overwritten there.
// The output is complete; a failure here loses nothing.
FileProcessor::Outcome FileProcessor::WipeAndRemove(Handover& file) {
    File& source = *file.original;
    const Outcome outcome = StillAsRead(source, file.read);
    if (!outcome.ok) return outcome;
    if (!wipeZero && !wipeRandom) return Removed(source, file.originalPath);
    const std::string digitPath = DigitName(file.originalPath);
    const MoveResult renamed = source.Rename(digitPath);
    const Outcome failed = Failure(kReportError, "error_encryption_remove", "",
                                   renamed.renamed ? digitPath : file.originalPath);
    if (!renamed) return failed;
    // Only as much of the buffer as the file takes: filling all of it with
    // random bytes cost a small file more than its flushes.
    const size_t used = size_t(std::min<uint64_t>(file.read.length, kBufferSize));
    std::vector<uint8_t> pattern(used, 0);
    if (wipeZero && !WipePass(source, pattern, file.read.length)) return failed;
    if (wipeRandom) {
        {
            const std::lock_guard<std::mutex> lock(finishRandomLock);
            for (uint8_t& byte : pattern) byte = uint8_t(finishRandom() % 255);
        }
        if (!WipePass(source, pattern, file.read.length)) return failed;
    }
    return Removed(source, digitPath);
}

// Writes the buffer over the whole file and has the device store it.
bool FileProcessor::WipePass(File& source, const std::vector<uint8_t>& pattern, uint64_t length) {
    if (!source.Seek(0)) return false;
    for (uint64_t done = 0; done < length;) {
        const size_t piece = size_t(std::min<uint64_t>(kBufferSize, length - done));
        if (!source.Write(pattern.data(), piece)) return false;
        finishedBytes += piece;
        done += piece;
    }
    return source.Flush();
}

// The source's folder and as many random digits as its name has bytes.
std::string FileProcessor::DigitName(const std::string& path) {
    std::string digits(FileNameOf(path, fs.NameCodePage()).size(), '0');
    const std::lock_guard<std::mutex> lock(finishRandomLock);
    for (char& c : digits) c = char('0' + finishRandom() % 10);
    return FolderPrefixOf(path, fs.NameCodePage()) + digits;
}
