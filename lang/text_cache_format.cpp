#include "lang/text_cache_format.h"

#include <limits>

namespace {

const char kPrefix[] = "Vuz";
const size_t kPrefixLength = sizeof kPrefix - 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string CacheValueName(size_t number) { return kPrefix + std::to_string(number); }

bool ParseCacheValueName(const std::string& name, size_t* number) {
    if (name.compare(0, kPrefixLength, kPrefix) != 0) return false;
    const std::string digits = name.substr(kPrefixLength);
    if (digits.empty() || (digits[0] == '0' && digits.size() > 1)) return false;
    size_t value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return false;
        const size_t digit = size_t(c - '0');
        if (value > (std::numeric_limits<size_t>::max() - digit) / 10) return false;
        value = value * 10 + digit;
    }
    *number = value;
    return true;
}

std::string CacheValueData(const std::string& key, const std::string& text) {
    std::string data = key + "=" + text;
    data.push_back('\0');
    return data;
}

CacheValue ReadCacheValue(const std::string& data, std::string* key, std::string* text) {
    // An empty value has nothing to read; anything else the cache wrote ends
    // in a NUL.
    if (data.empty()) return CacheValue::kSkip;
    if (data.back() != '\0') return CacheValue::kStop;
    const std::string entry = data.substr(0, data.find('\0'));
    const size_t equals = entry.find('=');
    if (equals == std::string::npos || equals == 0) return CacheValue::kSkip;
    *key = entry.substr(0, equals);
    *text = entry.substr(equals + 1);
    return CacheValue::kEntry;
}
