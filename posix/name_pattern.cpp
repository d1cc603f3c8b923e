#include "posix/name_pattern.h"

// Greedy, going back only to the last '*': linear for the patterns a folder
// listing takes, and never worse than name times pattern.
bool NameMatches(const std::string& name, const std::string& pattern) {
    const size_t none = std::string::npos;
    size_t n = 0, p = 0, star = none, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (star != none) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
