// The language-file tokenizer and parser over any bytes: every entry they
// store is one line's key and value, cut as the grammar says.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "lang/language_parser.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    TextTable table;
    ParseLanguageText(buffer.data(), table);
    for (const auto& entry : table.Entries()) {
        const std::string& key = entry.first;
        const std::string& value = entry.second;
        FUZZ_CHECK(key.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(value.find_first_of("\r\n=") == std::string::npos);
    }

    // The tokenizer alone: the token lies inside the piece.
    std::vector<char> piece(data, data + size);
    piece.push_back('\0');
    char* position = piece.data();
    if (NextToken(&position)) {
        FUZZ_CHECK(position >= piece.data() && position < piece.data() + piece.size());
        FUZZ_CHECK(std::strlen(position) <= size);
    }
    return 0;
}
