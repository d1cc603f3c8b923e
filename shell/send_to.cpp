#include "shell/send_to.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <vector>

#include "shell/shortcut.h"
#include "shell/special_folder.h"

namespace {

std::vector<std::string> ShortcutsIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder + "\\*.lnk").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

}  // namespace

bool IsProgramTarget(const std::string& target, const std::string& programFileName) {
    const size_t slash = target.rfind('\\');
    if (slash == std::string::npos || slash == 0) return false;
    return ::lstrcmpiA(target.c_str() + slash + 1, programFileName.c_str()) == 0;
}

bool FindProgramShortcut(const std::string& folder, const std::string& programFileName,
                         std::string* shortcutPath) {
    shortcutPath->clear();
    for (const std::string& name : ShortcutsIn(folder)) {
        const std::string path = folder + "\\" + name;
        std::string target, arguments, description;
        if (!ReadShortcut(path, &target, &arguments, &description)) continue;
        if (!IsProgramTarget(target, programFileName)) continue;
        *shortcutPath = path;
        return true;
    }
    return false;
}

bool FindSendToShortcut(HWND owner, const std::string& programFileName, std::string* shortcutPath) {
    shortcutPath->clear();
    std::string folder;
    if (!GetSpecialFolderPath(owner, CSIDL_SENDTO, &folder)) return false;
    return FindProgramShortcut(folder, programFileName, shortcutPath);
}

bool SendToShortcutPath(HWND owner, const std::string& title, std::string* shortcutPath) {
    // The title comes from a language file: it names a file, never a path.
    if (title.empty() || title.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
    std::string folder;
    if (!GetSpecialFolderPath(owner, CSIDL_SENDTO, &folder)) return false;
    *shortcutPath = folder + "\\" + title + ".lnk";
    return true;
}
