// The language-file grammar and the text cache's value format.
#include "lang/language_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "lang/text_cache_format.h"

namespace {

// The token NextToken finds in piece, or "<none>".
std::string TokenOf(std::string piece) {
    char* position = &piece[0];
    if (!NextToken(&position)) return "<none>";
    return position;
}

// The table a file of these bytes yields, over one existing entry.
TextTable Parse(std::string text) {
    TextTable table;
    table.SetText("key", "before");
    ParseLanguageText(&text[0], table);
    return table;
}

TEST(NextToken, NothingInEmptyBlankOrCommentPieces) {
    EXPECT_EQ(TokenOf(""), "<none>");
    EXPECT_EQ(TokenOf("  \t "), "<none>");
    EXPECT_EQ(TokenOf("// note"), "<none>");
    EXPECT_EQ(TokenOf(" \t// note"), "<none>");
}

TEST(NextToken, UnquotedTokenEndsBeforeComment) {
    EXPECT_EQ(TokenOf("Cipher"), "Cipher");
    EXPECT_EQ(TokenOf("  Cipher"), "Cipher");
    EXPECT_EQ(TokenOf("Cipher // comment"), "Cipher ");  // the blank before it stays
    EXPECT_EQ(TokenOf("http://example.org"), "http:");
    EXPECT_EQ(TokenOf("a/b\\c\t'd\"e"), "a/b\\c\t'd\"e");  // no escapes, no inner quotes
}

TEST(NextToken, QuotedTokenHoldsEverythingUpToItsQuote) {
    EXPECT_EQ(TokenOf("\"Ci//pher\" // comment"), "Ci//pher");
    EXPECT_EQ(TokenOf("  \"two words = 'x'\""), "two words = 'x'");
    EXPECT_EQ(TokenOf("'say \"hi\" // here'"), "say \"hi\" // here");
    EXPECT_EQ(TokenOf("\"\""), "");
    EXPECT_EQ(TokenOf("''"), "");
    EXPECT_EQ(TokenOf("\"done\" trailing words"), "done");
}

TEST(NextToken, UnclosedQuoteKeepsTheRestWithItsQuote) {
    EXPECT_EQ(TokenOf("\"open ended // not a comment"), "\"open ended // not a comment");
    EXPECT_EQ(TokenOf("  'x"), "'x");
}

TEST(ParseLanguageText, FileLinesSplitAtTheirLastEquals) {
    TextTable table = Parse("a=b=c\n\"x=y\"=z\n");
    EXPECT_EQ(table.LookupText("a=b"), "c");
    EXPECT_EQ(table.LookupText("a"), "a");
    EXPECT_EQ(table.LookupText("x=y"), "z");
}

TEST(ParseLanguageText, AddressesMustBeQuoted) {
    TextTable table =
        Parse("plain=https://tarnu.example.org/\nquoted=\"https://tarnu.example.org/\"\n");
    EXPECT_EQ(table.LookupText("plain"), "https:");
    EXPECT_EQ(table.LookupText("quoted"), "https://tarnu.example.org/");
}

TEST(ParseLanguageText, CommentsAndEmptyValues) {
    TextTable table = Parse(
        "button_cipher=\"Ci//pher\" // comment\n"
        "button_decipher=Decipher // comment\n"
        "// button_okay=Fine\n"
        "key=\n"
        "key=   // note\n"
        "language=English\n");
    EXPECT_EQ(table.LookupText("button_cipher"), "Ci//pher");
    EXPECT_EQ(table.LookupText("button_decipher"), "Decipher ");
    EXPECT_EQ(table.LookupText("button_okay"), "button_okay");
    EXPECT_EQ(table.LookupText("key"), "before");
    EXPECT_EQ(table.LookupText("language"), "English");
    EXPECT_EQ(table.Entries().size(), 4u);

    EXPECT_EQ(Parse("key=\"\"").LookupText("key"), "");
}

TEST(ParseLanguageText, LinesWithoutKeyOrEqualsAreIgnored) {
    TextTable table = Parse("no equals here\n=value\n  =value\n\"\"=empty key\nlast=one");
    EXPECT_EQ(table.LookupText(""), "empty key");  // a quoted empty key is still a key
    EXPECT_EQ(table.LookupText("last"), "one");
    EXPECT_EQ(table.Entries().size(), 3u);
}

TEST(ParseLanguageText, MixedLineEnds) {
    TextTable table = Parse("a=1\r\nb=2\rc=3\nd=4\r\n\r\n\n\re=5\r");
    EXPECT_EQ(table.LookupText("a"), "1");
    EXPECT_EQ(table.LookupText("b"), "2");
    EXPECT_EQ(table.LookupText("c"), "3");
    EXPECT_EQ(table.LookupText("d"), "4");
    EXPECT_EQ(table.LookupText("e"), "5");
    EXPECT_EQ(table.Entries().size(), 6u);
}

TEST(ParseLanguageText, NulInTheMiddleEndsTheParse) {
    TextTable table = Parse(std::string("a=1\nb=2", 7) + std::string(1, '\0') + "3\nc=3\n");
    EXPECT_EQ(table.LookupText("b"), "2");
    EXPECT_EQ(table.LookupText("c"), "c");
}

TEST(ParseLanguageText, MultiByteTextPassesUnchanged) {
    // Shift-JIS: a trail byte may be '\\' (0x5C) but never '=', '/' or a quote.
    const std::string sjis = "\x83\x5C\x83\x74\x83\x67";
    EXPECT_EQ(Parse("menu_about=" + sjis + "\r\n").LookupText("menu_about"), sjis);
}

TEST(CacheValue, SplitsAtTheFirstEquals) {
    std::string key, text;
    ASSERT_EQ(ReadCacheValue(CacheValueData("a", "b=c"), &key, &text), CacheValue::kEntry);
    EXPECT_EQ(key, "a");
    EXPECT_EQ(text, "b=c");
    ASSERT_EQ(ReadCacheValue(std::string("k= // \"q\" \0junk\0", 16), &key, &text),
              CacheValue::kEntry);
    EXPECT_EQ(key, "k");
    EXPECT_EQ(text, " // \"q\" ");  // no quoting, trimming or comments
    ASSERT_EQ(ReadCacheValue(CacheValueData("empty", ""), &key, &text), CacheValue::kEntry);
    EXPECT_EQ(text, "");
}

TEST(CacheValue, SkipsUnusableEntriesAndStopsAtForeignData) {
    std::string key = "unset", text = "unset";
    EXPECT_EQ(ReadCacheValue(std::string(1, '\0'), &key, &text), CacheValue::kSkip);
    EXPECT_EQ(ReadCacheValue("", &key, &text), CacheValue::kSkip);
    EXPECT_EQ(ReadCacheValue(std::string("no equals\0", 10), &key, &text), CacheValue::kSkip);
    EXPECT_EQ(ReadCacheValue(std::string("=text\0", 6), &key, &text), CacheValue::kSkip);
    EXPECT_EQ(ReadCacheValue("a=b", &key, &text), CacheValue::kStop);  // no terminating NUL
    EXPECT_EQ(key, "unset");
}

TEST(CacheValue, LongEntriesAreWholeValues) {
    const std::string text(70000, 'x');
    std::string key, read;
    ASSERT_EQ(ReadCacheValue(CacheValueData("long", text), &key, &read), CacheValue::kEntry);
    EXPECT_EQ(read, text);
}

TEST(CacheValueName, OnlyTheNamesTheCacheWrites) {
    EXPECT_EQ(CacheValueName(0), "Vuz0");
    EXPECT_EQ(CacheValueName(137), "Vuz137");
    size_t n = 99;
    EXPECT_TRUE(ParseCacheValueName("Vuz0", &n));
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(ParseCacheValueName("Vuz137", &n));
    EXPECT_EQ(n, 137u);
    for (const char* other : {"Vuz", "Vuz01", "vuz1", "Vuz1x", "Vuz-1", "Vuz 1", "XVuz1",
                              "Vuz99999999999999999999999", ""}) {
        EXPECT_FALSE(ParseCacheValueName(other, &n)) << other;
    }
}

}  // namespace
