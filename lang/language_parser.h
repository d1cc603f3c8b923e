#pragma once
// The grammar of a language file ("*.zen"): one "key=value" per line, the
// line split at its last "=", each half a token that may be quoted and may be
// followed by a "//" comment.

#include "lang/text_table.h"

// Finds the token in the NUL-terminated, writable piece at *position. On
// success the piece may be cut in place, *position points at the token's
// first byte and the result is true; false when the piece holds no token
// (empty, blanks only, or a comment).
bool NextToken(char** position);

// Parses a whole language file held in buffer (NUL-terminated, writable; a NUL
// in the middle ends the parse) and stores each line's key and value in table.
void ParseLanguageText(char* buffer, TextTable& table);
