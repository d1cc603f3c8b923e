#pragma once
// Decryption writes a file under the name stored inside the ".cpy" file, which
// anyone may have crafted. Only a plain file name is accepted: nothing that
// leaves the folder, names a device, that Windows would alter, or that has
// the form of an unfinished output.

#include <string>

bool IsSafeStoredName(const std::string& name);
