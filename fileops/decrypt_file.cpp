// Decryption of one ".cpy" file back into the file it was made from.

#include "crypto/wipe.h"
#include "fileops/cpy_layout.h"
#include "fileops/file_processor.h"
#include "fileops/output_name.h"
#include "fileops/stored_name.h"
#include "fs/path_text.h"
#include "fs/read_only_clearance.h"

void FileProcessor::DecryptFile(const std::string& cpyPath) {
    ReadOnlyClearance clearance(fs, cpyPath);
    std::unique_ptr<File> cpy = OpenOriginal(cpyPath, clearance);
    if (!cpy) return;

    FileIdentity read;
    std::string outputPath, temporaryPath;
    Outcome outcome = IdentifyOriginal(*cpy, &read);
    if (outcome.ok) outcome = ReadHeader(*cpy, read.length, cpyPath, &outputPath);
    if (outcome.ok) outcome = WriteDecryptedFile(*cpy, read.length, outputPath, &temporaryPath);
    if (outcome.ok) {
        outcome = FinishDecryption(std::move(cpy), read, cpyPath, temporaryPath, outputPath,
                                   clearance.Attributes());
    }
    if (outcome.ok) return clearance.Keep();
    if (outcome.path.empty()) outcome.path = cpyPath;
    Report(outcome);
}

// The length rule, the password check and the stored name, which becomes the
// output path beside the ".cpy" file.
FileProcessor::Outcome FileProcessor::ReadHeader(File& cpy, uint64_t length,
                                                 const std::string& cpyPath,
                                                 std::string* outputPath) {
    if (!cpy::IsPlausibleLength(length)) return Failure(kReportError, "error_tarnu_format");
    uint8_t keyBlock[cpy::kKeyCheckSize];
    if (!ReadExactly(cpy, keyBlock, sizeof keyBlock)) {
        return Failure(kReportError, "error_read_file", ":Decript.Key");
    }
    bytesProcessed += sizeof keyBlock;
    if (!cpy::OpenKeyCheckBlock(cipher, keyBlock))
        return Failure(kReportError, "error_password_missing");

    uint8_t nameBlock[cpy::kNameBlockSize];
    if (!ReadExactly(cpy, nameBlock, sizeof nameBlock)) {
        return Failure(kReportError, "error_read_file", ":Decript.FileName");
    }
    bytesProcessed += sizeof nameBlock;
    const std::string name = cpy::OpenNameBlock(cipher, nameBlock);
    const std::string folder = FolderPrefixOf(cpyPath, fs.NameCodePage());
    if (folder.empty() || !IsSafeStoredName(name, fs.NameCodePage())) {
        return Failure(kReportError, "error_get_decryption_filename", "", name);
    }
    *outputPath = folder + name;
    if (outputPath->size() > fs.MaxPathLength()) return Failure(kReportError, "error_max_path");
    return {};
}

// Writes the output under a temporary name beside outputPath, which must
// be free; on any failure the partial output is removed.
FileProcessor::Outcome FileProcessor::WriteDecryptedFile(File& cpy, uint64_t cpyLength,
                                                         const std::string& outputPath,
                                                         std::string* temporaryPath) {
    uint32_t existing = 0;
    if (fs.GetAttributes(outputPath, &existing)) {
        return Failure(kReportError, "error_same_filename", "", outputPath);
    }
    *temporaryPath = TemporaryPathBeside(outputPath, fs.NameCodePage(), random);
    std::unique_ptr<File> output = fs.Create(*temporaryPath);
    if (!output) return Failure(kReportMessage, "message_file_create_failed", "", outputPath);
    Outcome outcome = WriteDecryptedContent(cpy, *output, cpyLength);
    if (outcome.ok) outcome = FinishOutput(*output);
    output.reset();
    if (!outcome.ok) RemoveOutput(*temporaryPath);
    return outcome;
}

// The tail block's leading bytes, then the body.
FileProcessor::Outcome FileProcessor::WriteDecryptedContent(File& cpy, File& output,
                                                            uint64_t cpyLength) {
    uint8_t tail[cpy::kTailBlockSize];
    const WipedOnExit tailWiped(tail, sizeof tail);  // deciphered, it holds plain text
    if (!ReadExactly(cpy, tail, sizeof tail))
        return Failure(kReportError, "error_read_file", ":Decript.Leave");
    bytesProcessed += sizeof tail;
    const int lead = cpy::OpenTailBlock(cipher, tail);
    if (lead < 0) return Failure(kReportError, "error_broken_tarnu_format", ":Decript.Leave");
    if (lead > 0 && !output.Write(tail + 8 - lead, size_t(lead)))
        return Failure(kReportError, "error_write_file");

    return CipherBody(cpy, output, cpyLength - cpy::kHeaderSize, false);
}

// The restored file takes the ".cpy" file's times and attributes and its
// final name; only then is the ".cpy" file removed, through its handle and
// only as it was read. Should that removal fail, the restored file goes
// again, so that one of the two remains; should the ".cpy" file have changed
// meanwhile, both remain.
FileProcessor::Outcome FileProcessor::FinishDecryption(
    std::unique_ptr<File> cpy, const FileIdentity& read, const std::string& cpyPath,
    const std::string& temporaryPath, const std::string& outputPath, uint32_t attributes) {
    Outcome outcome = CopyStatus(cpyPath, temporaryPath, attributes);
    if (outcome.ok) outcome = Publish(temporaryPath, outputPath, false);
    if (!outcome.ok) {
        RemoveOutput(temporaryPath);
        outcome.path = outputPath;
        return outcome;
    }
    FileIdentity now;
    const bool identified = cpy->Identify(&now);
    if (identified && !SameFileUnchanged(read, now)) {
        return Failure(kReportError, "error_file_changed", "", cpyPath);
    }
    if (!identified || !cpy->Remove()) {
        RemoveOutput(outputPath);
        return Failure(kReportError, "error_file_status", "", outputPath);
    }
    return {};
}
