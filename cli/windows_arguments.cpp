#include "cli/windows_arguments.h"

namespace {

template <class Char>
bool IsBlank(Char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

template <class Text>
std::vector<WindowsArgument<Text>> SplitWindowsArguments(const Text& line) {
    const size_t n = line.size();
    size_t i = 0;
    // The program's name takes no backslash rules: a path ends in one.
    for (bool inQuotes = false; i < n && (inQuotes || !IsBlank(line[i])); ++i) {
        if (line[i] == '"') inQuotes = !inQuotes;
    }
    std::vector<WindowsArgument<Text>> arguments;
    for (;;) {
        while (i < n && IsBlank(line[i])) ++i;
        if (i == n) return arguments;
        WindowsArgument<Text> argument;
        for (bool inQuotes = false; i < n && (inQuotes || !IsBlank(line[i]));) {
            size_t backslashes = 0;
            while (i < n && line[i] == '\\') ++backslashes, ++i;
            if (i == n || line[i] != '"') {
                argument.text.append(backslashes, '\\');
                if (backslashes == 0) argument.text.push_back(line[i++]);
                continue;
            }
            argument.text.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1 || (inQuotes && i + 1 < n && line[i + 1] == '"')) {
                argument.text.push_back('"');
                i += backslashes % 2 == 1 ? 1 : 2;
            } else {
                inQuotes = !inQuotes;
                argument.quoted = true;
                ++i;
            }
        }
        arguments.push_back(std::move(argument));
    }
}

template std::vector<WindowsArgument<std::string>> SplitWindowsArguments(const std::string&);
template std::vector<WindowsArgument<std::wstring>> SplitWindowsArguments(const std::wstring&);
