#include "platform/program_paths.h"

#include <windows.h>

#include "fs/path_text.h"
#include "platform/win32_code_page.h"

ProgramPaths ReadProgramPaths() {
    ProgramPaths paths;
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    paths.programPath.assign(buffer, length < MAX_PATH ? length : 0);
    paths.programFolder = FolderOf(paths.programPath, SystemCodePage());
    paths.programFileName = FileNameOf(paths.programPath, SystemCodePage());

    const UINT systemLength = GetSystemDirectoryA(buffer, MAX_PATH);
    paths.systemDirectory.assign(buffer, systemLength < MAX_PATH ? systemLength : 0);
    const UINT windowsLength = GetWindowsDirectoryA(buffer, MAX_PATH);
    paths.windowsDirectory.assign(buffer, windowsLength < MAX_PATH ? windowsLength : 0);
    const size_t firstSlash = FindCharacter(paths.systemDirectory, "\\", SystemCodePage());
    if (firstSlash != std::string::npos)
        paths.systemDrive = paths.systemDirectory.substr(0, firstSlash);
    return paths;
}
