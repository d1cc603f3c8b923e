#include "platform/program_paths.h"

#include <windows.h>

ProgramPaths ReadProgramPaths() {
    ProgramPaths paths;
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    paths.programPath.assign(buffer, length < MAX_PATH ? length : 0);
    const size_t slash = paths.programPath.rfind('\\');
    if (slash != std::string::npos) paths.programFolder = paths.programPath.substr(0, slash);
    paths.programFileName = paths.programPath.substr(slash == std::string::npos ? 0 : slash + 1);

    const UINT systemLength = GetSystemDirectoryA(buffer, MAX_PATH);
    paths.systemDirectory.assign(buffer, systemLength < MAX_PATH ? systemLength : 0);
    const UINT windowsLength = GetWindowsDirectoryA(buffer, MAX_PATH);
    paths.windowsDirectory.assign(buffer, windowsLength < MAX_PATH ? windowsLength : 0);
    const size_t firstSlash = paths.systemDirectory.find('\\');
    if (firstSlash != std::string::npos)
        paths.systemDrive = paths.systemDirectory.substr(0, firstSlash);
    return paths;
}
