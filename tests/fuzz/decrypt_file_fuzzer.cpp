// A whole decryption of a ".cpy" file whose every byte is the fuzzer's, on an
// in-memory disk that also holds a neighbour file and another folder.
#include <cstdint>
#include <string>
#include <vector>

#include "fileops/file_processor.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/memory_file_system.h"

namespace {

const char* const kFolder = "C:\\data";
const char* const kCpy = "C:\\data\\input.cpy";
const char* const kNeighbour = "C:\\data\\keep.txt";
const char* const kElsewhere = "C:\\other\\keep.txt";
const std::vector<uint8_t> kKept = {'k', 'e', 'e', 'p'};

// What Windows would store under the name as given: nothing it would cut
// off, split or resolve elsewhere.
bool StaysAsGiven(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (unsigned char c : name) {
        if (c < 0x20 || std::string("\\/:*?\"<>|").find(char(c)) != std::string::npos) return false;
    }
    return true;
}

// The paths that decryption added to the disk.
std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after) {
    std::vector<std::string> added;
    for (const auto& path : after) {
        bool known = false;
        for (const auto& old : before) known = known || old == path;
        if (!known) added.push_back(path);
    }
    return added;
}

// One disk and processor for all runs: a processor's buffer is costly to
// make under the sanitizers. Each run starts from the same files.
struct Bench {
    Bench() {
        processor.SetReportSink([this](const std::string&, ReportKind) { ++lines; });
        processor.SetPassword("secret");
    }
    void Reset(const std::vector<uint8_t>& image) {
        for (const std::string& path : fs.AllPaths()) {
            if (!fs.IsFolder(path)) {
                fs.SetAttributes(path, attr::kNormal);
                fs.Delete(path);
            }
        }
        fs.AddFolder(kFolder);
        fs.AddFile(kCpy, image);
        fs.AddFile(kNeighbour, kKept);
        fs.AddFile(kElsewhere, kKept);
        lines = 0;
    }

    MemoryFileSystem fs;
    TextTable texts;
    FileProcessor processor{fs, texts};
    int lines = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Bench bench;
    const std::vector<uint8_t> image(data, data + size);
    bench.Reset(image);
    MemoryFileSystem& fs = bench.fs;
    const std::vector<std::string> before = fs.AllPaths();
    bench.processor.DecryptFile(kCpy);
    const int lines = bench.lines;

    FUZZ_CHECK(fs.OpenHandleCount() == 0);
    FUZZ_CHECK(fs.Contents(kNeighbour) == kKept && fs.Contents(kElsewhere) == kKept);
    const std::vector<std::string> added = Added(before, fs.AllPaths());
    if (fs.Exists(kCpy)) {
        // Refused: the input as it was, nothing new, one line saying why.
        FUZZ_CHECK(fs.Contents(kCpy) == image);
        FUZZ_CHECK(added.empty());
        FUZZ_CHECK(lines == 1);
        return 0;
    }
    // Restored: exactly one new file, directly in the folder, of the length
    // the layout gives, and no line.
    FUZZ_CHECK(lines == 0);
    FUZZ_CHECK(added.size() == 1);
    const std::string& restored = added[0];
    const std::string prefix = std::string(kFolder) + "\\";
    FUZZ_CHECK(restored.compare(0, prefix.size(), prefix) == 0);
    FUZZ_CHECK(StaysAsGiven(restored.substr(prefix.size())));
    FUZZ_CHECK(size >= 280 && size % 8 == 0);
    const size_t length = fs.Contents(restored).size();
    FUZZ_CHECK(length >= size - 280 && length <= size - 273);
    return 0;
}
