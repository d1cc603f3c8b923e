#pragma once
// The user's options, kept in the registry below HKEY_CURRENT_USER. Read once
// at start-up, changed in memory by the options menu, written back once at the
// end. Each option is a DWORD that counts as on when not zero; a value that
// was never toggled goes back to the registry exactly as it was read.

#include <cstdint>
#include <string>

#include "crypto/password_check.h"
#include "lang/text_table.h"

extern const char kSettingsKeyPath[];

struct Settings {
    uint32_t zero = 1;               // overwrite a source with zero bytes after encryption
    uint32_t rand = 1;               // overwrite a source with random bytes after encryption
    uint32_t confirm = 1;            // type the password twice
    uint32_t passwordMask = 1;       // show "*" for every character of the password
    uint32_t writeReadOnly = 0;      // process read-only files too
    uint32_t autoExit = 0;           // end the program after a job without errors
    uint32_t hashCheck = 1;          // compare the password with hashValue before a job
    PasswordCheckValue hashValue{};  // last accepted password's check value; all zero: none
};

// The settings stored under keyPath; a value that is missing or of the wrong
// type takes its default, and so do all when the key cannot be opened.
Settings LoadSettings(const std::string& keyPath);

// Writes every setting under keyPath, and the text for "used" as the key's
// default value. With hashCheck off the stored check value is forgotten.
// Nothing is written when the key cannot be opened.
void SaveSettings(const Settings& settings, const TextTable& texts, const std::string& keyPath);

// What a menu toggle makes of an option: 0 from any value that is on, 1 from 0.
inline uint32_t Toggled(uint32_t option) { return option == 0 ? 1 : 0; }
