#pragma once
// Encrypted images built straight from the layout functions, and the sample
// ".cpy" files in tests/data/cpy that were made independently of this code.

#include <cstdint>
#include <string>
#include <vector>

#include "crypto/cast128.h"

std::vector<uint8_t> BuildImage(const Cast128& cipher, const std::string& name,
                                const std::vector<uint8_t>& source);
// Source bytes i -> (7 i + 3) mod 256, as the sample files use.
std::vector<uint8_t> PatternSource(size_t size);

struct SampleCase {
    int number = 0;
    int codePage = 0;  // of the password and stored name; 0: ASCII, any
    std::string password, name;
    std::vector<uint8_t> source;
    std::vector<uint8_t> encrypted;
};
// tests/data/cpy, then tests/data/cpy-codepages.
std::vector<SampleCase> ReadSampleCases();
