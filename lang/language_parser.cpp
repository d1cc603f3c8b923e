#include "lang/language_parser.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StartsComment(const char* p) { return p[0] == '/' && p[1] == '/'; }

// One line, already cut out of the buffer.
void ParseLine(char* line, TextTable& table) {
    // Split at the last "=": a key may hold "=", a value never does, quoted
    // or not.
    char* equals = std::strrchr(line, '=');
    if (equals == nullptr) return;
    *equals = '\0';
    char* key = line;
    char* value = equals + 1;
    if (!NextToken(&key) || !NextToken(&value)) return;
    table.SetText(key, value);
}

}  // namespace

bool NextToken(char** position) {
    char* p = *position;
    while (IsBlank(*p)) ++p;
    if (*p == '\0' || StartsComment(p)) return false;

    if (*p == '"' || *p == '\'') {
        char* close = std::strchr(p + 1, *p);
        if (close != nullptr) {
            *close = '\0';
            *position = p + 1;
            return true;
        }
        // Unclosed: the rest stands as written, opening quote included.
        *position = p;
        return true;
    }

    // Blanks before a comment stay part of the token.
    char* comment = std::strstr(p, "//");
    if (comment != nullptr) *comment = '\0';
    *position = p;
    return true;
}

void ParseLanguageText(char* buffer, TextTable& table) {
    char* line = buffer;
    for (;;) {
        char* end = line + std::strcspn(line, "\r\n");
        const char ending = *end;
        *end = '\0';
        ParseLine(line, table);
        if (ending == '\0') return;
        line = end + 1;
        if (ending == '\r' && *line == '\n') ++line;
    }
}
