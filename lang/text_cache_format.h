#pragma once
// The registry text cache holds the whole text table as string values named
// "Vuz0", "Vuz1", ... without gaps, each "key=text" with a terminating NUL.
// No quoting, trimming or comments apply: the key ends at the first "=".

#include <cstddef>
#include <string>

// "Vuz" and the decimal number, no leading zeros.
std::string CacheValueName(size_t number);

// The number of a value named as CacheValueName makes them; false for any
// other name ("Vuz01", "Vuz", "vuz1", "Vuz1x").
bool ParseCacheValueName(const std::string& name, size_t* number);

// The data stored for one entry: key, "=", text and the terminating NUL.
std::string CacheValueData(const std::string& key, const std::string& text);

enum class CacheValue {
    kEntry,  // *key and *text are set
    kSkip,   // empty, without "=" or beginning with "=": read on
    kStop,   // not a string the cache wrote: the reading ends here
};

// Reads the data of one cache value as the registry returned it.
CacheValue ReadCacheValue(const std::string& data, std::string* key, std::string* text);
