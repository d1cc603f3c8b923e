#include "shell/send_to.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include "fs/path_text.h"
#include "platform/files_matching.h"
#include "platform/win32_code_page.h"
#include "shell/folder_path.h"
#include "shell/shortcut.h"

bool IsProgramTarget(const std::string& target, const std::string& programFileName) {
    const size_t slash = LastBackslash(target, SystemCodePage());
    if (slash == std::string::npos || slash == 0) return false;
    return SystemCodePage().SameIgnoringCase(target.substr(slash + 1), programFileName);
}

bool FindProgramShortcut(const std::string& folder, const std::string& programFileName,
                         std::string* shortcutPath) {
    shortcutPath->clear();
    for (const std::string& path : FilesMatching(folder, "*.lnk")) {
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
    if (title.empty() || FindCharacter(title, "\\/:*?\"<>|", SystemCodePage()) != std::string::npos)
        return false;
    std::string folder;
    if (!GetSpecialFolderPath(owner, CSIDL_SENDTO, &folder)) return false;
    *shortcutPath = folder + "\\" + title + ".lnk";
    return true;
}
