#include "platform/registry_key.h"

#include <windows.h>

namespace {

HKEY Handle(void* key) { return static_cast<HKEY>(key); }

const char* NameOrDefault(const std::string& name) { return name.empty() ? nullptr : name.c_str(); }

}  // namespace

RegistryKey::RegistryKey(const std::string& path) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &opened, nullptr) == ERROR_SUCCESS) {
        key = opened;
    }
}

RegistryKey::~RegistryKey() {
    if (key != nullptr) RegCloseKey(Handle(key));
}

bool RegistryKey::Read(const std::string& name, RegistryValue* value) const {
    if (key == nullptr) return false;
    // The size may change between asking and reading; ask again until the
    // data fits.
    DWORD size = 0;
    for (;;) {
        DWORD type = 0;
        value->data.resize(size);
        BYTE* data = size == 0 ? nullptr : reinterpret_cast<BYTE*>(&value->data[0]);
        const LONG result =
            RegQueryValueExA(Handle(key), NameOrDefault(name), nullptr, &type, data, &size);
        if (result == ERROR_SUCCESS && (data != nullptr || size == 0)) {
            value->type = type;
            value->data.resize(size);
            return true;
        }
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return false;
    }
}

bool RegistryKey::ReadDword(const std::string& name, uint32_t* number) const {
    RegistryValue value;
    if (!Read(name, &value) || value.type != REG_DWORD || value.data.size() != sizeof(DWORD)) {
        return false;
    }
    DWORD read = 0;
    value.data.copy(reinterpret_cast<char*>(&read), sizeof read);
    *number = read;
    return true;
}

bool RegistryKey::ReadString(const std::string& name, std::string* text) const {
    RegistryValue value;
    if (!Read(name, &value)) return false;
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return false;
    *text = value.data.substr(0, value.data.find('\0'));
    return true;
}

bool RegistryKey::Write(const std::string& name, uint32_t type, const void* data, size_t size) {
    if (key == nullptr || size > MAXDWORD) return false;
    return RegSetValueExA(Handle(key), NameOrDefault(name), 0, type, static_cast<const BYTE*>(data),
                          DWORD(size)) == ERROR_SUCCESS;
}

bool RegistryKey::WriteDword(const std::string& name, uint32_t number) {
    const DWORD data = number;
    return Write(name, REG_DWORD, &data, sizeof data);
}

bool RegistryKey::WriteBinary(const std::string& name, const void* data, size_t size) {
    return Write(name, REG_BINARY, data, size);
}

bool RegistryKey::WriteString(const std::string& name, const std::string& text) {
    return Write(name, REG_SZ, text.c_str(), text.size() + 1);
}

bool RegistryKey::DeleteValue(const std::string& name) {
    if (key == nullptr) return false;
    return RegDeleteValueA(Handle(key), NameOrDefault(name)) == ERROR_SUCCESS;
}

std::vector<std::string> RegistryKey::ValueNames() const {
    std::vector<std::string> names;
    DWORD longest = 0;
    if (key == nullptr ||
        RegQueryInfoKeyA(Handle(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return names;
    }
    std::string name(longest + 1, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = DWORD(name.size());
        if (RegEnumValueA(Handle(key), index, &name[0], &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
            return names;
        }
        names.push_back(name.substr(0, length));
    }
}
