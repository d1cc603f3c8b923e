#pragma once
// Every text the program shows is looked up here by key. A key without an
// entry yields the text of the fallback table, if one is set and has it, or
// else the key itself, so a lookup never fails.

#include <string>
#include <unordered_map>

class TextTable {
  public:
    using Map = std::unordered_map<std::string, std::string>;

    // The text for key, or the fallback's, or key itself when there is none.
    std::string LookupText(const std::string& key) const;
    // Texts of last resort; not among the entries (the cache keeps none of
    // them). The fallback must outlive the table.
    void SetFallback(const TextTable* table) { fallback = table; }
    void SetText(const std::string& key, const std::string& text);
    // The user-interface face name: the text for "font_name", a default face
    // when that text is empty, cut to the 31 bytes a face name can hold.
    std::string LookupFontName() const;
    // The texts compiled into the program, the first layer of every load.
    void SetDefaults();

    const Map& Entries() const { return texts; }

  private:
    Map texts;
    const TextTable* fallback = nullptr;
};

// The one table of the process.
TextTable& Texts();
