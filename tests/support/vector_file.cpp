#include "tests/support/vector_file.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#ifndef TARNU_TEST_DATA_DIR
#error "TARNU_TEST_DATA_DIR must name the folder of the known-answer files"
#endif

std::string TestDataPath(const std::string& name) {
    return std::string(TARNU_TEST_DATA_DIR) + "/" + name;
}

namespace {
std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}
}  // namespace

std::vector<VectorRecord> ReadVectorFile(const std::string& name) {
    std::ifstream in(TestDataPath(name));
    if (!in) throw std::runtime_error("cannot open " + TestDataPath(name));
    std::vector<VectorRecord> records;
    VectorRecord current;
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            if (!current.empty()) records.push_back(current);
            current.clear();
            continue;
        }
        current[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
    }
    if (!current.empty()) records.push_back(current);
    return records;
}

std::vector<uint8_t> ReadDataFile(const std::string& name) {
    std::ifstream in(TestDataPath(name), std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + TestDataPath(name));
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> FromHex(const std::string& hex) {
    if (hex.size() % 2 != 0) throw std::invalid_argument("odd hex length: " + hex);
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string ToHex(const uint8_t* data, size_t length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (size_t i = 0; i < length; ++i) {
        hex += digits[data[i] >> 4];
        hex += digits[data[i] & 15];
    }
    return hex;
}
