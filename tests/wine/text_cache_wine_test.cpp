// The text table's layers and the registry text cache, against the real
// registry and real language files.
#include <gtest/gtest.h>

#include "lang/language_file.h"
#include "ui/text_cache.h"
#include "lang/text_cache_format.h"
#include "platform/win32_file_system.h"
#include "tests/wine/registry_sandbox.h"
#include "tests/wine/temp_folder.h"

namespace {

const char kSandboxPath[] = "Software\\Quenmora\\TarnuCacheTest";

class TextCacheTest : public ::testing::Test {
  protected:
    const std::string cachePath = std::string(kSandboxPath) + "\\Vuz";
    Win32FileSystem fs;

    void PutEntry(size_t n, const std::string& data, DWORD type = REG_SZ) {
        PutRawValue(cachePath, CacheValueName(n), type, data);
    }
    bool HasEntry(size_t n) { return GetRawValue(cachePath, CacheValueName(n)).type != 0; }

    TextTable Load(const std::string& languageFile = "") {
        TextTable table;
        LoadTextTable(table, cachePath, fs, languageFile);
        return table;
    }

    std::string WriteLanguageFile(const std::string& name, const std::string& text) {
        const std::string path = folder / name;
        WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
        return path;
    }

    RegistrySandbox registry{kSandboxPath};
    TempFolder folder;
};

TextTable BigTable(size_t extra) {
    TextTable table;
    table.SetDefaults();
    for (size_t i = 0; i < extra; ++i)
        table.SetText("key_" + std::to_string(i), "text " + std::to_string(i));
    return table;
}

TEST_F(TextCacheTest, SavedTableComesBackWhole) {
    TextTable table = BigTable(30);
    table.SetText("a", "b=c");
    table.SetText("empty", "");
    table.SetText("spaced", "  // not a comment here ");
    table.SetText("long", std::string(300, 'L'));
    table.SetText("huge", std::string(70000, 'H'));
    table.SetText("sjis", "\x93\xfa\x96\x7b\x8c\xea\x83\x5c");
    SaveTextTable(table, cachePath);

    for (size_t n = 0; n < table.Entries().size(); ++n) EXPECT_TRUE(HasEntry(n)) << n;
    EXPECT_FALSE(HasEntry(table.Entries().size()));
    EXPECT_EQ(Load().Entries(), table.Entries());
}

TEST_F(TextCacheTest, EntryOver255BytesDoesNotEndTheReading) {
    PutEntry(0, StringBytes("first=1"));
    PutEntry(1, StringBytes("long=" + std::string(300, 'x')));
    PutEntry(2, StringBytes("last=3"));
    const TextTable table = Load();
    EXPECT_EQ(table.LookupText("first"), "1");
    EXPECT_EQ(table.LookupText("long"), std::string(300, 'x'));
    EXPECT_EQ(table.LookupText("last"), "3");
}

TEST_F(TextCacheTest, SavingASmallerTableRemovesTheStaleEntries) {
    SaveTextTable(BigTable(40), cachePath);
    PutEntry(200, StringBytes("beyond=a gap"));
    PutRawValue(cachePath, "Other", REG_SZ, StringBytes("not ours"));

    const TextTable small = BigTable(0);
    SaveTextTable(small, cachePath);
    for (size_t n = 0; n < small.Entries().size(); ++n) EXPECT_TRUE(HasEntry(n)) << n;
    for (size_t n = small.Entries().size(); n < 55; ++n) EXPECT_FALSE(HasEntry(n)) << n;
    EXPECT_FALSE(HasEntry(200));
    EXPECT_EQ(GetRawValue(cachePath, "Other").data, StringBytes("not ours"));
    EXPECT_EQ(Load().Entries(), small.Entries());
}

TEST_F(TextCacheTest, ReadingSkipsUnusableEntriesAndStopsAtForeignOnes) {
    PutEntry(0, StringBytes("a=1"));
    PutEntry(1, StringBytes("no equals"));
    PutEntry(2, StringBytes("=x"));
    PutEntry(3, StringBytes("b=2"), REG_EXPAND_SZ);
    PutEntry(4, DwordBytes(7), REG_DWORD);
    PutEntry(5, StringBytes("c=3"));
    const TextTable table = Load();
    EXPECT_EQ(table.LookupText("a"), "1");
    EXPECT_EQ(table.LookupText("b"), "2");
    EXPECT_EQ(table.LookupText("c"), "c");
    EXPECT_EQ(table.Entries().size(), 15u + 2u);
}

TEST_F(TextCacheTest, ReadingStopsAtTheFirstMissingNumber) {
    PutEntry(0, StringBytes("a=1"));
    PutEntry(2, StringBytes("c=3"));
    EXPECT_EQ(Load().LookupText("c"), "c");
}

TEST_F(TextCacheTest, LanguageFileOverridesCacheAndDefaults) {
    PutEntry(0, StringBytes("button_cipher=from cache"));
    PutEntry(1, StringBytes("button_okay=Fine"));
    PutEntry(2, StringBytes("cache_only=kept"));
    const std::string file = WriteLanguageFile(
        "test.zen", "language=English\r\nbutton_cipher=Encrypt\r\nsite=\"https://x.example/\"\r\n");
    const TextTable table = Load(file);
    EXPECT_EQ(table.LookupText("button_cipher"), "Encrypt");
    EXPECT_EQ(table.LookupText("button_okay"), "Fine");
    EXPECT_EQ(table.LookupText("tarnu_name"), "Tarnu");
    EXPECT_EQ(table.LookupText("cache_only"), "kept");
    EXPECT_EQ(table.LookupText("site"), "https://x.example/");
    EXPECT_EQ(table.LookupText("language"), "English");
}

TEST_F(TextCacheTest, UnreadableLanguageFileLeavesTheCache) {
    PutEntry(0, StringBytes("button_okay=Fine"));
    const TextTable table = Load(folder / "missing.zen");
    EXPECT_EQ(table.LookupText("button_okay"), "Fine");
    EXPECT_EQ(table.Entries().size(), 15u);
}

TEST_F(TextCacheTest, LanguageLivesOnInTheCacheAfterItsFileIsRetired) {
    const std::string file = WriteLanguageFile("b.zen", "language=B\nbutton_cipher=Bee\n");
    const TextTable first = Load(file);
    ASSERT_TRUE(RetireLanguageFile(fs, file));
    SaveTextTable(first, cachePath);

    const TextTable second = Load();
    EXPECT_EQ(second.LookupText("button_cipher"), "Bee");
    EXPECT_EQ(second.Entries(), first.Entries());
    EXPECT_FALSE(ReadWholeFile(folder / "b.zen.old").empty());
}

TEST_F(TextCacheTest, EmptyTableWritesNothing) {
    SaveTextTable(TextTable(), cachePath);
    EXPECT_FALSE(registry.Exists());
}

}  // namespace
