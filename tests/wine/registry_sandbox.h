#pragma once
// Registry keys below HKEY_CURRENT_USER for the tests, read and written with
// the raw API so the product's own wrapper is not checked against itself.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/registry_key.h"

// A key a test may fill as it likes: removed with everything below it before
// and after the test.
class RegistrySandbox {
  public:
    explicit RegistrySandbox(std::string path) : path_(std::move(path)) { Remove(); }
    ~RegistrySandbox() { Remove(); }

    const std::string& Path() const { return path_; }

    bool Exists() const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

  private:
    void Remove() const {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    }

    std::string path_;
};

// The value as stored; type 0 when it is missing.
inline RegistryValue GetRawValue(const std::string& path, const std::string& name) {
    RegistryValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    const char* valueName = name.empty() ? nullptr : name.c_str();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExA(key, valueName, nullptr, &type,
                             reinterpret_cast<BYTE*>(&value.data[0]), &size) == ERROR_SUCCESS) {
            value.type = type;
            value.data.resize(size);
        }
    }
    RegCloseKey(key);
    return value;
}

inline void PutRawValue(const std::string& path, const std::string& name, DWORD type,
                        const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

inline std::string DwordBytes(DWORD number) {
    return std::string(reinterpret_cast<const char*>(&number), sizeof number);
}

// A string value's data as the program writes it: the text and one NUL.
inline std::string StringBytes(const std::string& text) { return text + std::string(1, '\0'); }
