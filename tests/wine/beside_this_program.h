#pragma once
// The helper programs that the suites start are built beside them.

#include <windows.h>

#include <string>

inline std::string BesideThisProgram(const std::string& exe) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, length);
    return self.substr(0, self.find_last_of('\\') + 1) + exe;
}
