#pragma once
// The English texts of english.zen, compiled into the program: a program
// copied without its language files, or started with an empty registry,
// still speaks English instead of showing keys.

#include "lang/text_table.h"

// Every text of english.zen, parsed once.
const TextTable& BuiltInEnglish();
