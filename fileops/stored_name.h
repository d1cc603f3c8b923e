#pragma once
// Decryption writes a file under the name stored inside the ".cpy" file, which
// anyone may have crafted. Only a plain file name is accepted: nothing that
// leaves the folder, names a device, or that Windows would alter.

#include <string>

bool IsSafeStoredName(const std::string& name);
