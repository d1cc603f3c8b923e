#pragma once
// Filling the text table at start-up and keeping it in the registry between
// runs. Three layers, each overriding the one before: the compiled-in
// defaults, the registry text cache (the table as it stood at the last
// orderly end), and the language file the user has just picked.

#include <string>

#include "lang/text_table.h"

class FileSystem;

// The text cache below HKEY_CURRENT_USER: the subkey "Vuz" of the settings key.
extern const char kTextCacheKeyPath[];

// Fills table from the three layers. languageFilePath may be empty; a file
// that cannot be read is left out without a report, as is a cache key that
// cannot be opened.
void LoadTextTable(TextTable& table, const std::string& cacheKeyPath, FileSystem& fs,
                   const std::string& languageFilePath);

// Writes every entry of table into the cache as "Vuz0", "Vuz1", ... and
// removes the numbered values of an earlier, larger table. An empty table
// writes nothing.
void SaveTextTable(const TextTable& table, const std::string& cacheKeyPath);
