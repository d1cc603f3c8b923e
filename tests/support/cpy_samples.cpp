#include "tests/support/cpy_samples.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "fileops/cpy_layout.h"
#include "tests/support/vector_file.h"

std::vector<uint8_t> BuildImage(const Cast128& cipher, const std::string& name,
                                const std::vector<uint8_t>& source) {
    std::vector<uint8_t> image(cpy::EncryptedLength(source.size()));
    if (cpy::SealKeyCheckBlock(cipher, &image[0]) || cpy::SealNameBlock(cipher, name, &image[16])) {
        throw std::invalid_argument("password or name cannot be stored: " + name);
    }
    const size_t lead = cpy::LeadCount(source.size());
    cpy::SealTailBlock(cipher, source.data(), lead, &image[272]);
    std::copy(source.begin() + lead, source.end(), image.begin() + 280);
    cpy::EncryptUnits(cipher, image.data() + 280, image.size() - 280);
    return image;
}

std::vector<uint8_t> PatternSource(size_t size) {
    std::vector<uint8_t> source(size);
    for (size_t i = 0; i < size; ++i) source[i] = uint8_t((7 * i + 3) % 256);
    return source;
}

namespace {
std::string Unquote(std::istream& in) {
    std::string text;
    in >> std::ws;
    in.get();  // opening quote
    std::getline(in, text, '"');
    return text;
}

std::string BytesOf(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The lines of a cases.txt that are not comments.
std::vector<std::string> CaseLines(const std::string& folder) {
    std::ifstream in(TestDataPath(folder + "/cases.txt"));
    if (!in) throw std::runtime_error("cannot open " + folder + "/cases.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    }
    return lines;
}

}  // namespace

// cpy/cases.txt: number, source size, "password", "stored name" ("n*255" is
// 255 n's). cpy-codepages/cases.txt: number, code page ("cp932"), source size,
// password and stored name in hex.
std::vector<SampleCase> ReadSampleCases() {
    std::vector<SampleCase> cases;
    for (const std::string& line : CaseLines("cpy")) {
        std::istringstream fields(line);
        SampleCase c;
        size_t size = 0;
        fields >> c.number >> size;
        c.password = Unquote(fields);
        c.name = Unquote(fields);
        if (c.name == "n*255") c.name = std::string(255, 'n');
        c.source = c.number == 1 ? std::vector<uint8_t>{0x61, 0x62, 0x63} : PatternSource(size);
        c.encrypted = ReadDataFile("cpy/case" + std::to_string(c.number) + ".cpy");
        cases.push_back(c);
    }
    for (const std::string& line : CaseLines("cpy-codepages")) {
        std::istringstream fields(line);
        SampleCase c;
        std::string codePage, password, name;
        size_t size = 0;
        fields >> c.number >> codePage >> size >> password >> name;
        c.codePage = std::stoi(codePage.substr(2));
        c.password = BytesOf(FromHex(password));
        c.name = BytesOf(FromHex(name));
        c.source = PatternSource(size);
        c.encrypted = ReadDataFile("cpy-codepages/case" + std::to_string(c.number) + ".cpy");
        cases.push_back(c);
    }
    return cases;
}
