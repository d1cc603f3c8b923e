#include "lang/built_in_english.h"

#include <vector>

#include "lang/language_parser.h"

namespace {

// english.zen, byte for byte, made at build time.
const char kEnglishFile[] = {
#include "english_zen.inc"
    0};

}  // namespace

const TextTable& BuiltInEnglish() {
    static const TextTable table = [] {
        TextTable parsed;
        std::vector<char> text(kEnglishFile, kEnglishFile + sizeof kEnglishFile);
        ParseLanguageText(text.data(), parsed);
        return parsed;
    }();
    return table;
}
