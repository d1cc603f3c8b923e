#include "lang/language_file.h"

#include <new>

#include "fs/file_system.h"
#include "lang/language_parser.h"

namespace {

// Language files are a few kilobytes; anything this large is not one.
const uint64_t kLargestLanguageFile = 64 << 20;

bool ReadAll(File& file, char* data, size_t size) {
    while (size > 0) {
        size_t got = 0;
        if (!file.Read(data, size, &got) || got == 0) return false;
        data += got;
        size -= got;
    }
    return true;
}

bool IsFile(FileSystem& fs, const std::string& path) {
    uint32_t attributes = 0;
    return fs.GetAttributes(path, &attributes) && !(attributes & attr::kDirectory);
}

const char kNameKey[] = "language";

// The name from a "language=" line; only the first such line counts.
bool NameFromLine(std::string line, std::string* name) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos || line.compare(0, equals, kNameKey) != 0) return false;
    std::vector<char> value(line.begin() + equals + 1, line.end());
    value.push_back('\0');
    char* position = value.data();
    name->assign(NextToken(&position) ? position : "");
    return true;
}

}  // namespace

bool ReadLanguageFile(FileSystem& fs, const std::string& path, std::vector<char>* text) {
    const std::unique_ptr<File> file = fs.OpenRead(path);
    uint64_t length = 0;
    if (!file || !file->Length(&length) || length > kLargestLanguageFile) return false;
    try {
        text->assign(size_t(length) + 1, '\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    return ReadAll(*file, text->data(), size_t(length));
}

std::string ReadLanguageName(FileSystem& fs, const std::string& path) {
    std::vector<char> text;
    if (!ReadLanguageFile(fs, path, &text)) return std::string();
    const std::string content(text.data());  // up to the first NUL
    // Any mix of line ends; the empty lines between "\r" and "\n" are skipped.
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        std::string name;
        if (NameFromLine(content.substr(start, end - start), &name)) return name;
        start = end + 1;
    }
    return std::string();
}

// A ".old" file of the same name is a copy of a language file already taken
// into the cache: left in the way, it would bring the chooser back at every
// start.
bool RetireLanguageFile(FileSystem& fs, const std::string& path) {
    const std::string retired = path + ".old";
    if (fs.Move(path, retired)) return true;
    if (!IsFile(fs, path) || !IsFile(fs, retired)) return false;
    return fs.Delete(retired) && fs.Move(path, retired);
}
