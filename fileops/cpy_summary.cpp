#include "fileops/cpy_summary.h"

#include "crypto/wipe.h"
#include "fileops/cpy_layout.h"

namespace {

bool ReadHeader(File& file, uint8_t* data, size_t size) {
    size_t got = 0;
    return file.Read(data, size, &got) && got == size;
}

CpySummary Refusal(const char* key) {
    CpySummary summary;
    summary.errorKey = key;
    return summary;
}

// Deciphers the blocks in place.
CpySummary OpenHeader(const Cast128& cipher, uint8_t* header, uint64_t length) {
    if (!cpy::OpenKeyCheckBlock(cipher, header)) return Refusal("error_password_missing");
    CpySummary summary;
    summary.name = cpy::OpenNameBlock(cipher, header + cpy::kKeyCheckSize);
    const int lead = cpy::OpenTailBlock(cipher, header + cpy::kKeyCheckSize + cpy::kNameBlockSize);
    if (lead < 0) return Refusal("error_tarnu_format");
    summary.sourceLength = cpy::SourceLength(length, size_t(lead));
    return summary;
}

}  // namespace

CpySummary ReadCpySummary(FileSystem& fs, const Cast128& cipher, const std::string& path) {
    const std::unique_ptr<File> file = fs.OpenRead(path);
    uint64_t length = 0;
    if (!file || !file->Length(&length)) return Refusal("error_read_file");
    if (!cpy::IsPlausibleLength(length)) return Refusal("error_tarnu_format");
    uint8_t header[cpy::kHeaderSize];
    if (!ReadHeader(*file, header, sizeof header)) return Refusal("error_read_file");
    const CpySummary summary = OpenHeader(cipher, header, length);
    // The deciphered blocks hold the key and the name.
    WipeBytes(header, sizeof header);
    return summary;
}
