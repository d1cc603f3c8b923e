// Decryption of one ".cpy" file back into the file it was made from.

#include "crypto/wipe.h"
#include "fileops/cpy_layout.h"
#include "fileops/file_processor.h"
#include "fileops/output_name.h"
#include "fileops/stored_name.h"
#include "fs/path_text.h"
#include "fs/read_only_clearance.h"

void FileProcessor::DecryptFile(const std::string& cpyPath) {
    HandoverPtr cpy = OpenOriginal(cpyPath);
    if (!cpy) return;
    Outcome outcome = IdentifyOriginal(*cpy->original, &cpy->read);
    if (outcome.ok) outcome = ReadHeader(*cpy);
    if (outcome.ok) outcome = WriteDecryptedFile(*cpy);
    if (!outcome.ok) return Tell(outcome, cpyPath);
    HandOver(std::move(cpy), &FileProcessor::FinishDecryption);
}

// The length rule, the password check and the stored name, which becomes the
// output path beside the ".cpy" file.
FileProcessor::Outcome FileProcessor::ReadHeader(Handover& file) {
    File& cpy = *file.original;
    if (!cpy::IsPlausibleLength(file.read.length))
        return Failure(kReportError, "error_tarnu_format");
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
    const std::string folder = FolderPrefixOf(file.originalPath, fs.NameCodePage());
    if (folder.empty() || !IsSafeStoredName(name, fs.NameCodePage())) {
        return Failure(kReportError, "error_get_decryption_filename", "", name);
    }
    file.outputPath = folder + name;
    if (file.outputPath.size() > fs.MaxPathLength()) return Failure(kReportError, "error_max_path");
    return {};
}

// Writes the output under a temporary name beside its final one, which must
// be free; on a failure the partial output is removed. The name is looked up
// first only for a file of more than one chunk, which would be written for
// nothing: a smaller one is refused as its rename (which replaces nothing)
// finds the name taken, since under Wine a lookup of a name that is not there
// reads the whole folder.
FileProcessor::Outcome FileProcessor::WriteDecryptedFile(Handover& file) {
    uint32_t existing = 0;
    if (file.read.length > kBufferSize && fs.GetAttributes(file.outputPath, &existing)) {
        return Failure(kReportError, "error_same_filename", "", file.outputPath);
    }
    file.temporaryPath = TemporaryPathBeside(file.outputPath, fs.NameCodePage(), random);
    file.output = fs.Create(file.temporaryPath);
    if (!file.output) {
        return Failure(kReportMessage, "message_file_create_failed", "", file.outputPath);
    }
    const Outcome outcome = WriteDecryptedContent(*file.original, *file.output, file.read.length);
    if (outcome.ok) return outcome;
    file.output.reset();
    RemoveOutput(file.temporaryPath);
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

// The restored file takes its final name, which must still be free; only
// then is the ".cpy" file removed, through its handle and only as it was
// read. Should that removal fail, the restored file goes again, so that one
// of the two remains; should the ".cpy" file have changed meanwhile, both
// remain. A failure to stamp or name it names the restored file.
FileProcessor::Outcome FileProcessor::FinishDecryption(Handover& file) {
    const Outcome outcome = PublishOutput(file, false, file.outputPath);
    if (!outcome.ok) return outcome;
    FileIdentity now;
    File& cpy = *file.original;
    const bool identified = cpy.Identify(&now);
    if (identified && (!SameFileUnchanged(file.read, now) || !cpy.StillNamed())) {
        return Failure(kReportError, "error_file_changed", "", file.originalPath);
    }
    if (!identified || !cpy.Remove()) {
        RemoveOutput(file.outputPath);
        return Failure(kReportError, "error_file_status", "", file.outputPath);
    }
    file.clearance->Keep();
    return {};
}
