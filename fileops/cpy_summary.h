#pragma once
// What a ".cpy" file holds, read without writing anything: whether the
// password opens it, the name it restores to and the length of the original.

#include <string>

#include "crypto/cast128.h"
#include "fs/file_system.h"

struct CpySummary {
    const char* errorKey = nullptr;  // the text key of what is wrong; nullptr: none
    std::string name;
    uint64_t sourceLength = 0;
};

// cipher holds the password's key.
CpySummary ReadCpySummary(FileSystem& fs, const Cast128& cipher, const std::string& path);
