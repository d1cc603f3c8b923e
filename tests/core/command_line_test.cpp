#include "engine/command_line.h"

#include <gtest/gtest.h>

namespace {

using Tokens = std::vector<std::string>;

TEST(CommandLine, Splitting) {
    EXPECT_EQ(SplitCommandLine("\"C:\\My Files\\a.doc\" D:\\b.txt"),
              (Tokens{"C:\\My Files\\a.doc", "D:\\b.txt"}));
    EXPECT_EQ(SplitCommandLine("ab\"C:\\x y\\c.txt\""),
              (Tokens{"C:\\x y\\c.txt"}));  // text before a quote is lost
    EXPECT_EQ(SplitCommandLine("\"C:\\never closed"), Tokens{});
    EXPECT_EQ(SplitCommandLine("a.txt \"C:\\never closed"), Tokens{"a.txt"});
    EXPECT_EQ(SplitCommandLine("  a  b  "), (Tokens{"a", "b"}));   // no empty tokens
    EXPECT_EQ(SplitCommandLine("a\tb c"), (Tokens{"a\tb", "c"}));  // a tab belongs to the token
    EXPECT_EQ(SplitCommandLine("\"\" x"), Tokens{"x"});
    EXPECT_EQ(SplitCommandLine("D:"), Tokens{"D:"});
    EXPECT_EQ(SplitCommandLine(""), Tokens{});
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
    EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\tarnu.exe\" \"D:\\a b.txt\""), "\"D:\\a b.txt\"");
    EXPECT_EQ(ArgumentsOf("tarnu.exe   D:\\x"), "D:\\x");
    EXPECT_EQ(ArgumentsOf("tarnu.exe"), "");
    EXPECT_EQ(ArgumentsOf("\"C:\\tarnu.exe\""), "");
    EXPECT_EQ(ArgumentsOf(""), "");
}

}  // namespace
