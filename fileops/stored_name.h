#pragma once
// Decryption writes a file under the name stored inside the ".cpy" file, which
// anyone may have crafted. Only a plain file name is accepted: nothing that
// leaves the folder, names a device, that Windows would alter, or that has
// the form of an unfinished output.

#include <string>

#include "fs/code_page.h"

bool IsSafeStoredName(const std::string& name, const CodePage& codePage);

// Encryption checks a file's name the same way before it writes anything, so
// that it never makes a ".cpy" file that decryption refuses: the text key that
// refuses the name, or nullptr when it can be stored.
const char* StoredNameRefusal(const std::string& name, const CodePage& codePage);
