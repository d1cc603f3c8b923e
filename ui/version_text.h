#pragma once
// The version shown in the title, from the program's version resource.

#include <cstdint>
#include <string>

// a.b.c.d written as "a.bc" (b cut to its low 8 bits): 1.7.9.0 gives "1.79".
std::string FormatVersionText(uint32_t productVersionHigh, uint32_t productVersionLow);
// Empty when the file has no version resource.
std::string ReadVersionText(const std::string& programPath);
