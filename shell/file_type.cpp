#include "shell/file_type.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include "fs/path_text.h"
#include "lang/text_table.h"
#include "platform/win32_code_page.h"

namespace {

const char kUserClasses[] = "Software\\Classes\\";

struct FileTypeNames {
    std::string extension, typeName;
};

// The names become key names: an empty one, or one holding a backslash,
// would make the keys (and their deletion) reach beyond the file type's own.
bool LookupNames(FileTypeNames* names) {
    names->extension = Texts().LookupText("tarnu_ext");
    names->typeName = Texts().LookupText("tarnu_name");
    for (const std::string* name : {&names->extension, &names->typeName}) {
        if (name->empty() || FindCharacter(*name, "\\", SystemCodePage()) != std::string::npos)
            return false;
    }
    return true;
}

bool WriteDefaultValue(const std::string& path, const std::string& data) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, (kUserClasses + path).c_str(), 0, nullptr, 0,
                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(key);
    return true;
}

// A key that is not there is already gone.
bool DeleteKeyTree(const std::string& path) {
    const LONG result = ::RegDeleteTreeA(HKEY_CURRENT_USER, (kUserClasses + path).c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

// The user's own classes first, then HKEY_CLASSES_ROOT: Windows shows the
// two merged there, but Wine's HKEY_CLASSES_ROOT holds only the machine's.
bool OpenClassKey(const std::string& path, HKEY* key) {
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, (kUserClasses + path).c_str(), 0, KEY_READ, key) ==
               ERROR_SUCCESS ||
           ::RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key) == ERROR_SUCCESS;
}

void NotifyShell() { ::SHChangeNotify(SHCNE_ASSOCCHANGED, 0, nullptr, nullptr); }

}  // namespace

std::string FileTypeCommand(const std::string& programPath) {
    return "\"" + programPath + "\" \"%1\"";
}

bool RegisterFileType(const std::string& programPath) {
    FileTypeNames names;
    if (!LookupNames(&names)) return false;
    const std::string& type = names.typeName;
    const bool written =
        WriteDefaultValue(names.extension, type) &&
        WriteDefaultValue(type, Texts().LookupText("link_comment")) &&
        WriteDefaultValue(type + "\\shell", "open") &&
        WriteDefaultValue(type + "\\shell\\open\\command", FileTypeCommand(programPath));
    if (written) NotifyShell();
    return written;
}

bool UnregisterFileType() {
    FileTypeNames names;
    if (!LookupNames(&names)) return false;
    if (!DeleteKeyTree(names.extension) || !DeleteKeyTree(names.typeName)) return false;
    NotifyShell();
    return true;
}

bool IsFileTypeRegistered(std::string* command) {
    command->clear();
    FileTypeNames names;
    if (!LookupNames(&names)) return false;
    HKEY key = nullptr;
    if (!OpenClassKey(names.extension, &key)) return false;
    ::RegCloseKey(key);
    if (!OpenClassKey(names.typeName + "\\shell\\open\\command", &key)) return false;
    char buffer[MAX_PATH] = {};
    DWORD type = 0, size = sizeof buffer;
    const LONG result =
        ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    const bool isText = type == REG_SZ || type == REG_EXPAND_SZ;
    if (result != ERROR_SUCCESS || !isText || size == 0 || buffer[size - 1] != '\0') return false;
    *command = buffer;
    return true;
}
