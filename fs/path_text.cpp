#include "fs/path_text.h"

#include <cstring>

size_t NextCharacterAt(const std::string& text, size_t i, const CodePage& codePage) {
    const bool pair = codePage.IsLeadByte(uint8_t(text[i])) && i + 1 < text.size();
    return i + (pair ? 2 : 1);
}

size_t FindCharacter(const std::string& text, const char* chars, const CodePage& codePage,
                     size_t from) {
    for (size_t i = from; i < text.size(); i = NextCharacterAt(text, i, codePage)) {
        if (text[i] != '\0' && std::strchr(chars, text[i])) return i;
    }
    return std::string::npos;
}

size_t LastBackslash(const std::string& path, const CodePage& codePage) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); i = NextCharacterAt(path, i, codePage)) {
        if (path[i] == '\\') last = i;
    }
    return last;
}

bool EndsInLeadByte(const std::string& text, const CodePage& codePage) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); i = NextCharacterAt(text, i, codePage)) start = i;
    return start + 1 == text.size() && codePage.IsLeadByte(uint8_t(text[start]));
}

std::string FileNameOf(const std::string& path, const CodePage& codePage) {
    const size_t slash = LastBackslash(path, codePage);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPrefixOf(const std::string& path, const CodePage& codePage) {
    const size_t slash = LastBackslash(path, codePage);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FolderOf(const std::string& path, const CodePage& codePage) {
    const size_t slash = LastBackslash(path, codePage);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool EndsInIgnoringCase(const std::string& text, const char* suffix) {
    const size_t length = std::strlen(suffix);
    if (text.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[text.size() - length + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}
