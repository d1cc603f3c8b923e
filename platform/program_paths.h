#pragma once
// Where the program runs from and where the system lives: the paths the
// worker needs to refuse the system folders and to skip itself.

#include <string>

struct ProgramPaths {
    std::string programPath;      // the running program file
    std::string programFolder;    // up to, not including, its last '\'
    std::string programFileName;  // after its last '\'
    std::string systemDirectory;
    std::string windowsDirectory;
    std::string systemDrive;  // systemDirectory before its first '\', e.g. "C:"
};

ProgramPaths ReadProgramPaths();
