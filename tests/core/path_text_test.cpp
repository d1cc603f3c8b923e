// Paths split and compared character by character, under the code pages of
// Japanese, Chinese, Korean and Western systems.
#include "fs/path_text.h"

#include <gtest/gtest.h>

#include "fileops/stored_name.h"

namespace {

struct Split {
    int codePage;
    std::string path, folderPrefix, name;
};

// In 932 ソ is 83 5C and ポ 83 7C; in 936 and 950 C4 5C and A5 5C are single
// characters too; in 1252 every byte is a character of its own.
TEST(PathText, SplitsOnlyAtBackslashesThatStartACharacter) {
    const std::vector<Split> cases = {
        {932, "C:\\\x83\\\x81[\x83X.c", "C:\\", "\x83\\\x81[\x83X.c"},
        {932, "C:\\\x83\\\\\x83|.txt", "C:\\\x83\\\\", "\x83|.txt"},
        {932, "D:\\\x95\\\\\x95\\", "D:\\\x95\\\\", "\x95\\"},
        {932, "\x83\\", "", "\x83\\"},
        {932, "C:\\a\\\x83", "C:\\a\\", "\x83"},  // ends in a lead byte
        {932, "C:\\a\\b\\", "C:\\a\\b\\", ""},
        {936, "C:\\\xC4\\\\x.txt", "C:\\\xC4\\\\", "x.txt"},
        {949, "C:\\\xB0\\\\\xB0\\", "C:\\\xB0\\\\", "\xB0\\"},
        {950, "C:\\\xA5\\\xA5\\\\n", "C:\\\xA5\\\xA5\\\\", "n"},
        {1252, "C:\\caf\xE9\\\x83\\x", "C:\\caf\xE9\\\x83\\", "x"},
        {1252, "report.txt", "", "report.txt"},
    };
    for (const Split& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + c.path);
        const TableCodePage codePage(c.codePage);
        EXPECT_EQ(FolderPrefixOf(c.path, codePage), c.folderPrefix);
        EXPECT_EQ(FileNameOf(c.path, codePage), c.name);
        EXPECT_EQ(FolderPrefixOf(c.path, codePage) + FileNameOf(c.path, codePage), c.path);
    }
}

TEST(PathText, FindsCharactersAndHalfCharacters) {
    const TableCodePage japanese(932), western(1252);
    EXPECT_EQ(FindCharacter("\x83|a|b", "|", japanese), 3u);
    EXPECT_EQ(FindCharacter("\x83|a|b", "|", western), 1u);
    EXPECT_EQ(FindCharacter("a\x83\\", "\\", japanese), std::string::npos);
    // A byte that looks like a trail byte after an ASCII character is one.
    EXPECT_EQ(FindCharacter("a\\b", "\\", japanese), 1u);
    EXPECT_TRUE(EndsInLeadByte("ab\x83", japanese));
    EXPECT_FALSE(EndsInLeadByte("a\x83\x83", japanese));  // one whole character
    EXPECT_TRUE(EndsInLeadByte("a\x83\x83\x83", japanese));
    EXPECT_FALSE(EndsInLeadByte("ab\x83", western));
    EXPECT_FALSE(EndsInLeadByte("", japanese));
    // The ".cpy" ending in any letter case.
    for (const char* cpy : {"a.cpy", "X.CPY", "\\x.Cpy", ".cpY"})
        EXPECT_TRUE(EndsInCpy(cpy)) << cpy;
    for (const char* other : {"cpy", "a.cpy.txt", "a_cpy", "a.cpz", ""}) {
        EXPECT_FALSE(EndsInCpy(other)) << other;
    }
}

// Letter case is folded where a character starts, never in a second byte:
// 83 61 and 83 41 are two different characters.
TEST(PathText, ComparesIgnoringCaseAsTheSystem) {
    const TableCodePage japanese(932), western(1252);
    EXPECT_TRUE(japanese.SameIgnoringCase("c:\\windows", "C:\\WINDOWS"));
    EXPECT_TRUE(japanese.SameIgnoringCase("c:\\\x83\\a", "C:\\\x83\\A"));
    EXPECT_FALSE(japanese.SameIgnoringCase("\x83\x61", "\x83\x41"));
    EXPECT_TRUE(western.SameIgnoringCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(japanese.SameIgnoringCase("\xE9", "\xC9"));
    EXPECT_FALSE(western.SameIgnoringCase("a", "ab"));
}

// Names whose second bytes are '\' or '|' are plain names; the refusals still
// hold, character by character.
TEST(PathText, StoredNamesUnderDoubleByteCodePages) {
    for (int number : {932, 936, 949, 950}) {
        SCOPED_TRACE(number);
        const TableCodePage codePage(number);
        for (const std::string name :
             {"\x95\\", "\x83\\\x81[\x83X.c", "\x83\x8C\x83|\x81[\x83g.doc", "a\x94\\.txt"}) {
            EXPECT_TRUE(IsSafeStoredName(name, codePage)) << name;
            EXPECT_EQ(StoredNameRefusal(name, codePage), nullptr) << name;
        }
        for (const std::string name : {"a\\\x83\\", "\x83\\|x", "ab\x83", "\x83\\\\", "COM1"}) {
            EXPECT_FALSE(IsSafeStoredName(name, codePage)) << name;
        }
    }
    // B9 is a katakana in 932 and the superscript one in 1252.
    EXPECT_TRUE(IsSafeStoredName("COM\xB9", TableCodePage(932)));
    EXPECT_FALSE(IsSafeStoredName("COM\xB9", TableCodePage(1252)));
    EXPECT_FALSE(IsSafeStoredName("\x83\\", TableCodePage(1252)));
}

}  // namespace
