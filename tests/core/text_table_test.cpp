#include "lang/text_table.h"

#include <gtest/gtest.h>

#include "lang/built_in_english.h"
#include "lang/text_keys.h"

namespace {

TEST(TextTable, MissingKeysYieldTheKeyItself) {
    TextTable table;
    table.SetDefaults();
    EXPECT_EQ(table.LookupText("status_run"), "status_run");
    EXPECT_EQ(table.LookupText("button_okay"), "OK");
    EXPECT_EQ(table.LookupText("Button_cipher"), "Button_cipher");  // keys are case-sensitive
    EXPECT_EQ(table.LookupText("button_cipher"), "Cipher");
    EXPECT_EQ(table.LookupText(" button_cipher"), " button_cipher");  // and not trimmed
}

// A program without language file or cache speaks the English of
// english.zen, compiled in; any loaded text still comes first, and the
// fallback never reaches the entries the cache keeps.
TEST(TextTable, BuiltInEnglishIsTheLastResort) {
    for (const char* key : kTextKeys) EXPECT_EQ(BuiltInEnglish().Entries().count(key), 1u) << key;
    TextTable table;
    table.SetDefaults();
    table.SetFallback(&BuiltInEnglish());
    EXPECT_EQ(table.LookupText("message_drop"), "Files were dropped.");
    EXPECT_EQ(table.LookupText("button_okay"), "OK");
    table.SetText("message_drop", "Dropped");
    EXPECT_EQ(table.LookupText("message_drop"), "Dropped");
    EXPECT_EQ(table.LookupText("no_such_key"), "no_such_key");
    EXPECT_EQ(table.Entries().size(), 16u);
}

TEST(TextTable, FifteenDefaults) {
    TextTable table;
    table.SetDefaults();
    EXPECT_EQ(table.Entries().size(), 15u);
    EXPECT_EQ(table.LookupText("tarnu_name"), "Tarnu");
    EXPECT_EQ(table.LookupText("tarnu_ext"), ".cpy");
    EXPECT_EQ(table.LookupText("tarnu_site"), "Ruraz'e DovivizAvev");
    EXPECT_EQ(table.LookupText("button_tarnu"), "GO !");
    EXPECT_EQ(table.LookupText("please_input_password"), "Please input a password.");
    EXPECT_EQ(table.LookupText("tarnu_regionalization_by"), "");
    EXPECT_EQ(table.LookupText("tarnu_site_url").rfind("https://", 0), 0u);
}

TEST(TextTable, SetTextReplaces) {
    TextTable table;
    table.SetDefaults();
    table.SetText("button_okay", "Fine");
    table.SetText("new_key", "");
    EXPECT_EQ(table.LookupText("button_okay"), "Fine");
    EXPECT_EQ(table.LookupText("new_key"), "");
    EXPECT_EQ(table.Entries().size(), 16u);
}

TEST(TextTable, FontName) {
    TextTable table;
    EXPECT_EQ(table.LookupFontName(), "font_name");  // no entry: the key itself, not empty
    table.SetText("font_name", "");
    EXPECT_EQ(table.LookupFontName(), "MS UI Gothic");
    table.SetText("font_name", std::string(40, 'F'));
    EXPECT_EQ(table.LookupFontName(), std::string(31, 'F'));
    table.SetText("font_name", "Tahoma");
    EXPECT_EQ(table.LookupFontName(), "Tahoma");
}

}  // namespace
