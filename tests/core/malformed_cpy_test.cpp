// Decrypts every case of the malformed corpus (tests/data/malformed, written
// by make-malformed-cpy from the layout alone) and checks the exact report
// line and that the folder then holds only what the outcome allows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "crypto/sha1.h"
#include "tests/support/processor_rig.h"
#include "tests/support/vector_file.h"

namespace {

struct MalformedCase {
    std::string what, outcome, key, path;  // refuse: key and path
    std::string name;                      // restore: name, length, digest
    size_t length = 0;
    std::string digest;
};

std::string Digest(const std::vector<uint8_t>& data) {
    Sha1Context sha1;
    sha1.repeatCount = 1;
    uint8_t out[Sha1Context::kDigestSize];
    size_t outLength = sizeof out;
    sha1.ComputeDigest(out, &outLength, data.data(), data.size());
    return ToHex(out, sizeof out);
}

std::string Unhex(const std::string& hex) {
    const std::vector<uint8_t> bytes = FromHex(hex);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<MalformedCase> ReadCases() {
    std::ifstream in(TestDataPath("malformed/cases.txt"));
    std::vector<MalformedCase> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        MalformedCase c;
        fields >> c.what >> c.outcome;
        if (c.outcome == "refuse") {
            fields >> c.key >> c.path;
            c.path = c.path == "-" ? kOutput : Unhex(c.path);
        } else {
            fields >> c.name >> c.length >> c.digest;
            c.name = Unhex(c.name);
            c.digest = ToHex(FromHex(c.digest));
        }
        cases.push_back(c);
    }
    return cases;
}

// The image a case names: base.cpy cut, flipped or lengthened, or a file.
std::vector<uint8_t> Image(const std::string& what, const std::vector<uint8_t>& base) {
    const size_t colon = what.find(':');
    const std::string op = what.substr(0, colon), arg = what.substr(colon + 1);
    if (op == "file") return ReadDataFile("malformed/" + arg);
    std::vector<uint8_t> image = base;
    const size_t n = std::stoul(arg);
    if (op == "truncate") image.resize(n);
    if (op == "flip") image.at(n / 8) ^= uint8_t(1 << (n % 8));
    if (op == "append") image.insert(image.end(), n, 0xA5);
    return image;
}

TEST(MalformedCpy, EveryCaseEndsAsTheLayoutSays) {
    const std::vector<uint8_t> base = ReadDataFile("malformed/base.cpy");
    const std::vector<MalformedCase> cases = ReadCases();
    ASSERT_GT(cases.size(), 2600u);
    Rig r;  // one for all: a processor's buffer is costly to make under the sanitizers
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> image = Image(c.what, base);
        for (const std::string& path : r.fs.AllPaths()) {
            if (path != "C:\\data") r.fs.Delete(path);
        }
        r.lines.clear();
        r.fs.AddFile(kOutput, image);
        r.processor.DecryptFile(kOutput);
        EXPECT_EQ(r.fs.OpenHandleCount(), 0);
        if (c.outcome == "refuse") {
            r.ExpectOnlyLine(kReportError, c.key, c.path);
            EXPECT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", kOutput}));
            EXPECT_TRUE(r.fs.Contents(kOutput) == image);
            continue;
        }
        const std::string restored = "C:\\data\\" + c.name;
        EXPECT_TRUE(r.lines.empty());
        ASSERT_EQ(r.fs.AllPaths(), (std::vector<std::string>{"C:\\data", restored}));
        EXPECT_EQ(r.fs.Contents(restored).size(), c.length);
        EXPECT_EQ(Digest(r.fs.Contents(restored)), c.digest);
    }
}

}  // namespace
