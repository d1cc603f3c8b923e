#pragma once
// A Windows command line split into arguments as the C runtime splits it
// for main, for the console program, which reads it as UTF-16 itself:
// blanks separate arguments and double quotes hold blanks in; backslashes
// are literal except in a run just before a quote, which is halved, an odd
// run making the quote literal; and "" inside quotes is a quote.

#include <string>
#include <vector>

template <class Text>
struct WindowsArgument {
    Text text;
    bool quoted = false;  // any part of it: such a pattern is taken as it is
};

// The arguments after the program's own name.
template <class Text>
std::vector<WindowsArgument<Text>> SplitWindowsArguments(const Text& commandLine);
