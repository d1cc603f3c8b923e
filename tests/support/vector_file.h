#pragma once
// Known-answer files in tests/data: records of "Name = value" lines separated
// by blank lines, "#" starting a comment line.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

using VectorRecord = std::map<std::string, std::string>;

std::string TestDataPath(const std::string& name);
std::vector<VectorRecord> ReadVectorFile(const std::string& name);
std::vector<uint8_t> ReadDataFile(const std::string& name);
std::vector<uint8_t> FromHex(const std::string& hex);
std::string ToHex(const uint8_t* data, size_t length);
inline std::string ToHex(const std::vector<uint8_t>& v) { return ToHex(v.data(), v.size()); }
