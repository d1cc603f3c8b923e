#include "engine/command_line.h"

#include <gtest/gtest.h>

#include "cli/cli_options.h"

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

// tarnu-cli's arguments: what each gives, and what each refusal says.
TEST(CliArguments, OptionsAnywhereAndRefusalsSaid) {
    struct Row {
        Tokens args;
        CliCommand command;
        Tokens paths;
        bool zero, random;
        std::string error;  // a part of it; empty: accepted
    };
    const auto E = CliCommand::kEncrypt, D = CliCommand::kDecrypt, L = CliCommand::kList;
    const Row rows[] = {
        {{"encrypt", "a", "b"}, E, {"a", "b"}, true, true, ""},
        {{"--wipe", "none", "decrypt", "x.cpy"}, D, {"x.cpy"}, false, false, ""},
        {{"encrypt", "a", "--wipe=random"}, E, {"a"}, false, true, ""},
        {{"encrypt", "--wipe", "random,zero", "a"}, E, {"a"}, true, true, ""},
        {{"list", "--", "--wipe", "-x.cpy"}, L, {"--wipe", "-x.cpy"}, true, true, ""},
        {{"encrypt", "-"}, E, {"-"}, true, true, ""},
        {{"encrypt", "--wipe", "zero,"}, E, {}, true, true, "--wipe takes"},
        {{"encrypt", "a", "--wipe"}, E, {}, true, true, "--wipe takes"},
        {{"encrypt", "--password", "secret", "a"}, E, {}, true, true, "never taken as an argument"},
        {{"encrypt", "-p", "secret", "a"}, E, {}, true, true, "never taken as an argument"},
        {{"encrypt", "--code-page", "0", "a"}, E, {}, true, true, "--code-page takes"},
        {{"encrypt", "--code-page", "93x", "a"}, E, {}, true, true, "--code-page takes"},
        {{"encrypt", "--quiet=yes", "a"}, E, {}, true, true, "unknown option --quiet"},
        {{"encrypt"}, E, {}, true, true, "no paths"},
        {{"a.txt"}, E, {}, true, true, "unknown command a.txt"},
        {{"--quiet"}, E, {}, true, true, "no command"},
        {{}, E, {}, true, true, "no command"},
    };
    for (const Row& row : rows) {
        const CliArguments parsed = ParseCliArguments(row.args);
        SCOPED_TRACE(::testing::PrintToString(row.args));
        if (!row.error.empty()) {
            EXPECT_NE(parsed.error.find(row.error), std::string::npos) << parsed.error;
            continue;
        }
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.options.command, row.command);
        EXPECT_EQ(parsed.options.paths, row.paths);
        EXPECT_EQ(parsed.options.wipeZero, row.zero);
        EXPECT_EQ(parsed.options.wipeRandom, row.random);
    }
    const CliOptions all = ParseCliArguments({"decrypt", "--code-page=932", "--write-read-only",
                                              "--quiet", "--password-file", "p.txt", "d"})
                               .options;
    EXPECT_EQ(all.codePage, 932u);
    EXPECT_TRUE(all.writeReadOnly && all.quiet);
    EXPECT_EQ(all.passwordFile, "p.txt");
    EXPECT_EQ(ParseCliArguments({"encrypt", "--version", "--bad"}).options.command,
              CliCommand::kVersion);
    EXPECT_EQ(ParseCliArguments({"--bad", "--help"}).error, "unknown option --bad");
}

}  // namespace
