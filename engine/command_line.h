#pragma once
// The paths on the program's command line, as the shell hands them over:
// separated by blanks, a path with blanks in double quotes.

#include <string>
#include <vector>

// The arguments: what follows the program's own name (quoted or not) and the
// blanks after it.
std::string ArgumentsOf(const std::string& commandLine);

// One pass over the bytes: a quote or a blank is never the second byte of a
// double-byte character. A quote opens or closes a token (text just before an opening
// quote is lost), a blank outside quotes ends one, and a quoted token never
// closed is dropped. Empty tokens are not returned.
std::vector<std::string> SplitCommandLine(const std::string& text);
