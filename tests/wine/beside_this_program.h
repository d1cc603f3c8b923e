#pragma once
// The helper programs that the suites start are built beside them.

#include <string>

#include "platform/program_paths.h"

inline std::string BesideThisProgram(const std::string& exe) {
    return ReadProgramPaths().programFolder + "\\" + exe;
}
