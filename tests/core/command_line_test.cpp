#include "engine/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/cli_options.h"
#include "cli/console_job.h"
#include "cli/password_source.h"
#include "cli/windows_arguments.h"
#include "lang/built_in_english.h"
#include "tests/support/memory_file_system.h"

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

// tarnu-cli.exe's own split of its command line; "Q|" marks a quoted argument,
// whose pattern is not expanded.
TEST(CommandLine, WindowsArguments) {
    const std::pair<std::string, Tokens> rows[] = {
        {"\"C:\\Program Files\\tarnu-cli.exe\" list a.cpy", {"list", "a.cpy"}},
        {"tarnu-cli  \t*.cpy  \"C:\\My Files\\*.cpy\"", {"*.cpy", "Q|C:\\My Files\\*.cpy"}},
        {"x C:\\a\\b\\ d\\\\", {"C:\\a\\b\\", "d\\\\"}},           // literal without a quote
        {"x \"C:\\a b\\\\\" c", {"Q|C:\\a b\\", "c"}},             // halved before one
        {"x a\\\"b \"c\"\"d\" e\"\"", {"a\"b", "Q|c\"d", "Q|e"}},  // an odd run, "" in quotes
        {"x pre\"mid dle\"post \"\"", {"Q|premid dlepost", "Q|"}},
        {"x \"never closed", {"Q|never closed"}},
        {"\"C:\\tarnu-cli.exe\"", {}}};
    for (const auto& [line, expected] : rows) {
        Tokens got;
        for (const auto& argument : SplitWindowsArguments(line))
            got.push_back((argument.quoted ? "Q|" : "") + argument.text);
        EXPECT_EQ(got, expected) << line;
    }
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

// tarnu-cli's jobs: the worker's lines printed, errors even when quiet, and
// an exit status that says whether everything was done.
TEST(ConsoleJob, PrintsTheJobAndTellsWhetherAllWasDone) {
    const TextTable& texts = BuiltInEnglish();
    MemoryFileSystem fs;
    fs.AddFile("D:\\d\\a.txt", {'a'});
    fs.AddFile("D:\\d\\b.txt", {'b', 'b'});
    fs.AddFolder("C:\\Windows");
    WorkerThread worker(fs, texts);
    worker.windowsDirectory = "C:\\Windows";
    std::ostringstream out;
    ConsoleOwner owner(out, texts, false);
    worker.Start(owner);
    auto run = [&](Tokens args, std::string password) {
        out.str("");
        const CliArguments parsed = ParseCliArguments(args);
        EXPECT_EQ(parsed.error, "");
        return RunConsoleJob(worker, owner, parsed.options, password);
    };
    auto count = [&](const std::string& key) {
        const std::string text = texts.LookupText(key), all = out.str();
        size_t n = 0;
        for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) ++n;
        return n;
    };

    EXPECT_EQ(run({"encrypt", "--wipe", "none", "D:\\d"}, "pw"), 0) << out.str();
    EXPECT_EQ(count("message_encryption_started"), 1u);
    EXPECT_EQ(count("message_encryption_finished"), 1u);
    EXPECT_EQ(fs.AllPaths().size(), 4u);  // D:\d, C:\Windows and two ".cpy" files

    EXPECT_EQ(run({"decrypt", "D:\\d"}, "wrong"), 1);
    EXPECT_EQ(count("error_password_missing"), 2u) << out.str();
    EXPECT_EQ(count("message_decryption_started"), 1u);
    EXPECT_NE(out.str().find("\n2 files taken, 2 problems reported\n"), std::string::npos);
    fs.AddFile("D:\\r\\ro.txt", {'r'}, attr::kReadOnly);
    EXPECT_EQ(run({"encrypt", "D:\\r"}, "pw"), 1);  // left as it is, which is said
    EXPECT_EQ(count("message_file_attributes_failed"), 1u) << out.str();
    EXPECT_EQ(run({"encrypt", "C:\\Windows"}, "pw"), 1);
    EXPECT_EQ(count("error_directory_windows"), 1u) << out.str();
    EXPECT_EQ(run({"decrypt", "D:\\d"}, "pw"), 0) << out.str();
    EXPECT_EQ(fs.Contents("D:\\d\\b.txt"), (std::vector<uint8_t>{'b', 'b'}));

    // Quiet: the failures alone.
    EXPECT_EQ(run({"encrypt", "--wipe", "none", "D:\\d"}, "pw"), 0);
    WorkerThread quietWorker(fs, texts);
    ConsoleOwner quietOwner(out, texts, true);
    quietWorker.Start(quietOwner);
    out.str("");
    const CliOptions options = ParseCliArguments({"decrypt", "--quiet", "D:\\d"}).options;
    std::string wrong = "wrong";
    EXPECT_EQ(RunConsoleJob(quietWorker, quietOwner, options, wrong), 1);
    EXPECT_EQ(wrong, "");  // wiped once handed over
    EXPECT_EQ(count("message_decryption_started"), 0u);
    EXPECT_EQ(count("error_password_missing"), 2u) << out.str();
}

// Answers the prompts from a list, as a user at a terminal would.
class ScriptedPrompt : public PasswordPrompt {
  public:
    explicit ScriptedPrompt(Tokens answers) : answers(std::move(answers)) {}
    bool Ask(const std::string&, std::string* answer) override {
        if (asked >= answers.size()) return false;
        *answer = answers[asked++];
        return true;
    }
    Tokens answers;
    size_t asked = 0;
};

TEST(CliPassword, FileThenEnvironmentThenTerminal) {
    const char* kFile = "cli_password_test.txt";
    std::ofstream(kFile, std::ios::binary) << "from file\r\nsecond line\n";
    struct Row {
        Tokens args;
        const char* environment;
        Tokens answers;
        std::string password, error;  // error: a part of it
        size_t asked;
    };
    const Row rows[] = {
        {{"encrypt", "--password-file", kFile, "a"}, "env", {"typed"}, "from file", "", 0},
        {{"encrypt", "--password-file", "missing.txt", "a"}, "env", {}, "", "cannot read", 0},
        {{"decrypt", "a"}, "from env", {"typed"}, "from env", "", 0},
        {{"decrypt", "a"}, nullptr, {"typed"}, "typed", "", 1},
        {{"encrypt", "a"}, nullptr, {"typed", "typed"}, "typed", "", 2},
        {{"encrypt", "a"}, nullptr, {"typed", "other"}, "", "differ", 2},
        {{"encrypt", "a"}, nullptr, {"typed"}, "", "differ", 1},
        {{"decrypt", "a"}, nullptr, {}, "", "no terminal", 0},
        {{"encrypt", "a"}, "", {}, "", "empty", 0},
        {{"decrypt", "a"}, "", {}, "", "", 0},  // a file made with none stays readable
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args) + " " +
                     ::testing::PrintToString(row.answers));
        ScriptedPrompt prompt(row.answers);
        const PasswordResult got =
            GetPassword(ParseCliArguments(row.args).options, row.environment, prompt);
        EXPECT_EQ(got.password, row.password);
        EXPECT_NE(got.error.find(row.error), std::string::npos) << got.error;
        EXPECT_EQ(got.error.empty(), row.error.empty());
        EXPECT_EQ(prompt.asked, row.asked);
    }
    std::remove(kFile);
}

}  // namespace
