// The language files shipped with the program: each parses, names its
// language and gives a text for every key the program looks up.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "lang/language_file.h"
#include "lang/language_parser.h"
#include "lang/text_keys.h"
#include "tests/support/memory_file_system.h"

namespace {

// Texts that may be empty: the original language has no translator.
const std::set<std::string> kMayBeEmpty = {
    "tarnu_regionalization_by", "tarnu_regionalization_by_url", "tarnu_regionalization_by_email"};

TextTable ParseShippedFile(const std::string& name) {
    std::ifstream file(std::string(TARNU_LANG_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    TextTable table;
    ParseLanguageText(&text[0], table);
    return table;
}

void ExpectEveryKey(const TextTable& table, bool allowEmptyCredits) {
    for (const char* key : kTextKeys) {
        const auto found = table.Entries().find(key);
        ASSERT_NE(found, table.Entries().end()) << key;
        if (!allowEmptyCredits || !kMayBeEmpty.count(key)) {
            EXPECT_FALSE(found->second.empty()) << key;
        }
    }
}

void ExpectOnlyKnownKeys(const TextTable& table) {
    const std::set<std::string> known(std::begin(kTextKeys), std::end(kTextKeys));
    for (const auto& entry : table.Entries()) EXPECT_TRUE(known.count(entry.first)) << entry.first;
}

// Texts that name registry keys or the file extension must not be translated.
void ExpectFixedNames(const TextTable& table) {
    EXPECT_EQ(table.LookupText("open"), "open");
    EXPECT_EQ(table.LookupText("command"), "command");
    EXPECT_EQ(table.LookupText("tarnu_ext"), ".cpy");
    EXPECT_EQ(table.LookupText("tarnu_name"), "Tarnu");
    EXPECT_EQ(table.LookupText("tarnu_site_url").rfind("https://", 0), 0u);
}

// Menu items reached from the keyboard carry an access key in every language.
// Every control and menu item of a window has its own access key: the
// letter after "&", the same in either case.
void ExpectAccessKeys(const TextTable& table) {
    const std::vector<std::vector<const char*>> windows = {
        {"button_cipher", "button_decipher", "button_encryption_stop", "button_tarnu"},
        {"button_cipher", "button_decipher", "button_decryption_stop"},
        {"menu_write_random", "menu_write_zero", "menu_write_readonly", "menu_view_directory",
         "menu_sendto", "menu_ext", "menu_auto_exit", "menu_again_password", "menu_password_mask",
         "menu_password_hash", "menu_about"},
        {"menu_options"},
        {"button_text_copy"},
    };
    for (const auto& keys : windows) {
        std::map<char, std::string> taken;
        for (const char* key : keys) {
            const std::string text = table.LookupText(key);
            const size_t mark = text.find('&');
            ASSERT_TRUE(mark != std::string::npos && mark + 1 < text.size()) << key;
            const char letter = char(std::toupper(static_cast<unsigned char>(text[mark + 1])));
            EXPECT_TRUE(taken.emplace(letter, key).second) << key << " and " << taken[letter];
        }
    }
}

TEST(LanguageFiles, EnglishCoversEveryKey) {
    const TextTable table = ParseShippedFile("english.zen");
    EXPECT_EQ(table.LookupText("language"), "English");
    ExpectEveryKey(table, true);
    ExpectOnlyKnownKeys(table);
    ExpectFixedNames(table);
    ExpectAccessKeys(table);
}

TEST(LanguageFiles, JapaneseCoversEveryKeyInShiftJis) {
    const TextTable table = ParseShippedFile("japanese.zen");
    EXPECT_EQ(table.LookupText("language"),
              "\x93\xfa\x96\x7b\x8c\xea");  // "Japanese" in code page 932
    ExpectEveryKey(table, false);
    ExpectOnlyKnownKeys(table);
    ExpectFixedNames(table);
    ExpectAccessKeys(table);
    EXPECT_EQ(table.LookupText("tarnu_regionalization_by_url").rfind("https://", 0), 0u);
}

// A stale retired copy gives way; what cannot be moved stays and is said.
TEST(LanguageFile, RetiringReplacesAnOldCopyAndFailsOnlyForReal) {
    MemoryFileSystem fs;
    const std::string path = "C:\\t\\a.zen";
    EXPECT_FALSE(RetireLanguageFile(fs, path));

    fs.AddFile(path, {'x'});
    fs.AddFile(path + ".old", {'o', 'l', 'd'});
    EXPECT_TRUE(RetireLanguageFile(fs, path));
    EXPECT_FALSE(fs.Exists(path));
    EXPECT_EQ(fs.Contents(path + ".old"), std::vector<uint8_t>{'x'});

    fs.AddFile(path, {'y'});
    fs.SetAttributes(path + ".old", attr::kReadOnly);
    EXPECT_FALSE(RetireLanguageFile(fs, path));
    fs.SetAttributes(path + ".old", attr::kNormal);
    fs.Delete(path + ".old");
    fs.AddFolder(path + ".old");
    EXPECT_FALSE(RetireLanguageFile(fs, path));
    EXPECT_EQ(fs.Contents(path), std::vector<uint8_t>{'y'});
}

TEST(LanguageFile, ReadEndsWithOneNulAndNamesTheLanguage) {
    MemoryFileSystem fs;
    std::vector<char> text;
    EXPECT_FALSE(ReadLanguageFile(fs, "C:\\missing.zen", &text));
    fs.AddFile("C:\\a.zen", {'a', '=', 'b'}, attr::kReadOnly);
    ASSERT_TRUE(ReadLanguageFile(fs, "C:\\a.zen", &text));
    EXPECT_EQ(text, (std::vector<char>{'a', '=', 'b', '\0'}));

    const std::pair<std::string, std::string> kNames[] = {
        {"language=Deutsch\r\nbutton_ok=OK", "Deutsch"},
        {"\r\r\nlanguage= Dansk\nlanguage=Other", "Dansk"},
        {"languages=No\nlanguage=Yes", "Yes"},
        {"language=\nlanguage=Late", ""},
        {"button_ok=OK", ""},
    };
    for (const auto& [content, name] : kNames) {
        fs.AddFile("C:\\n.zen", std::vector<uint8_t>(content.begin(), content.end()));
        EXPECT_EQ(ReadLanguageName(fs, "C:\\n.zen"), name) << content;
    }
}

TEST(TextKeys, ListedOnce) {
    const std::set<std::string> known(std::begin(kTextKeys), std::end(kTextKeys));
    EXPECT_EQ(known.size(), kTextKeyCount);
}

}  // namespace
