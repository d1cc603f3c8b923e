#include "fileops/output_name.h"

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

// The suffix holds no '\': its bytes at the end of a path are at the end of
// its file name.
bool IsTemporaryPath(const std::string& path) { return EndsInIgnoringCase(path, kTemporarySuffix); }
