#include "ui/text_cache.h"

#include <vector>

#include "lang/language_file.h"
#include "lang/language_parser.h"
#include "lang/text_cache_format.h"
#include "platform/registry_key.h"

const char kTextCacheKeyPath[] = "Software\\Quenmora\\Tarnu\\Vuz";

namespace {

bool IsString(const RegistryValue& value) {
    return value.type == reg::kString || value.type == reg::kExpandString;
}

void LoadCache(TextTable& table, const std::string& cacheKeyPath) {
    const RegistryKey cache(cacheKeyPath);
    RegistryValue value;
    for (size_t n = 0; cache.Read(CacheValueName(n), &value) && IsString(value); ++n) {
        std::string key, text;
        const CacheValue read = ReadCacheValue(value.data, &key, &text);
        if (read == CacheValue::kStop) return;
        if (read == CacheValue::kEntry) table.SetText(key, text);
    }
}

void LoadLanguageFile(TextTable& table, FileSystem& fs, const std::string& path) {
    std::vector<char> text;
    if (!ReadLanguageFile(fs, path, &text)) return;
    ParseLanguageText(text.data(), table);
}

// Numbered values at or above count would come back at the next start as
// entries of a table that no longer has them.
void RemoveStaleValues(RegistryKey& cache, size_t count) {
    for (const std::string& name : cache.ValueNames()) {
        size_t n = 0;
        if (ParseCacheValueName(name, &n) && n >= count) cache.DeleteValue(name);
    }
}

}  // namespace

void LoadTextTable(TextTable& table, const std::string& cacheKeyPath, FileSystem& fs,
                   const std::string& languageFilePath) {
    table.SetDefaults();
    LoadCache(table, cacheKeyPath);
    if (!languageFilePath.empty()) LoadLanguageFile(table, fs, languageFilePath);
}

void SaveTextTable(const TextTable& table, const std::string& cacheKeyPath) {
    // A table never loaded is empty; saving it would only wipe the cache.
    if (table.Entries().empty()) return;
    RegistryKey cache(cacheKeyPath);
    if (!cache.IsOpen()) return;
    size_t n = 0;
    for (const auto& entry : table.Entries()) {
        const std::string data = CacheValueData(entry.first, entry.second);
        cache.Write(CacheValueName(n++), reg::kString, data.data(), data.size());
    }
    RemoveStaleValues(cache, n);
}
