// The reader of the registry text cache over any value name and data: what
// it accepts reads back the same from the data the writer makes of it.
#include <cstdint>
#include <string>

#include "lang/text_cache_format.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    size_t number = 0;
    if (ParseCacheValueName(input, &number)) FUZZ_CHECK(CacheValueName(number) == input);

    std::string key, text;
    if (ReadCacheValue(input, &key, &text) != CacheValue::kEntry) return 0;
    FUZZ_CHECK(!key.empty() && key.find('=') == std::string::npos);
    FUZZ_CHECK(key.find('\0') == std::string::npos && text.find('\0') == std::string::npos);
    std::string key2, text2;
    FUZZ_CHECK(ReadCacheValue(CacheValueData(key, text), &key2, &text2) == CacheValue::kEntry);
    FUZZ_CHECK(key2 == key && text2 == text);
    return 0;
}
