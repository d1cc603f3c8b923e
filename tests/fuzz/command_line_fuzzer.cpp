// The command-line splitter over any text: its tokens, quoted and joined
// again, split into the same tokens.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/command_line.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string arguments = ArgumentsOf(text);
    FUZZ_CHECK(text.compare(text.size() - arguments.size(), arguments.size(), arguments) == 0);

    const std::vector<std::string> tokens = SplitCommandLine(text);
    std::string joined;
    size_t total = 0;
    for (const auto& token : tokens) {
        FUZZ_CHECK(!token.empty() && token.find('"') == std::string::npos);
        total += token.size();
        joined += " \"" + token + "\"";
    }
    FUZZ_CHECK(total <= text.size());
    FUZZ_CHECK(SplitCommandLine(joined) == tokens);
    return 0;
}
