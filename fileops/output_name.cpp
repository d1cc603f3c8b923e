#include "fileops/output_name.h"

#include <cctype>

#include "fs/path_text.h"

std::string RandomLettersAndDigits(size_t count, std::mt19937& random) {
    std::string drawn(count, ' ');
    for (char& c : drawn) {
        switch (random() % 3) {
            case 0:
                c = char('A' + random() % 26);
                break;
            case 1:
                c = char('a' + random() % 26);
                break;
            default:
                c = char('0' + random() % 10);
                break;
        }
    }
    return drawn;
}

std::string DrawCpyName(std::mt19937& random) {
    return RandomLettersAndDigits(13, random) + ".cpy";
}

std::string TemporaryPathBeside(const std::string& finalPath, const CodePage& codePage,
                                std::mt19937& random) {
    return FolderPrefixOf(finalPath, codePage) + RandomLettersAndDigits(6, random) +
           kTemporarySuffix;
}

// The suffix is ASCII, holds no '\' and starts with '.', which no double-byte
// code page uses as a second byte: its bytes at the end of a path are always
// characters of their own at the end of its file name.
bool IsTemporaryPath(const std::string& path) {
    const size_t length = sizeof kTemporarySuffix - 1;
    if (path.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(path[path.size() - length + i]);
        if (std::tolower(c) != kTemporarySuffix[i]) return false;
    }
    return true;
}
