#pragma once
// One registry key below HKEY_CURRENT_USER, open for the life of the object:
// callers open a key, read or write it, and let it close at the end of the
// same operation.

#include <cstdint>
#include <string>
#include <vector>

// Value types, with the values Windows gives them, for callers that do not
// include <windows.h>.
namespace reg {
constexpr uint32_t kString = 1;        // REG_SZ
constexpr uint32_t kExpandString = 2;  // REG_EXPAND_SZ
constexpr uint32_t kBinary = 3;        // REG_BINARY
constexpr uint32_t kDword = 4;         // REG_DWORD
}  // namespace reg

// A value's type and its data exactly as stored.
struct RegistryValue {
    uint32_t type = 0;
    std::string data;
};

class RegistryKey {
  public:
    // Opens path below HKEY_CURRENT_USER for reading and writing, creating it
    // (and any missing key above it) when it does not exist.
    explicit RegistryKey(const std::string& path);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return key != nullptr; }

    // A value of any type and length; false when it is missing. An empty
    // name is the key's default value.
    bool Read(const std::string& name, RegistryValue* value) const;
    // A REG_DWORD of four bytes; false when missing or of another type.
    bool ReadDword(const std::string& name, uint32_t* number) const;
    // A REG_SZ or REG_EXPAND_SZ (not expanded), up to its first NUL.
    bool ReadString(const std::string& name, std::string* text) const;

    bool Write(const std::string& name, uint32_t type, const void* data, size_t size);
    bool WriteDword(const std::string& name, uint32_t number);
    bool WriteBinary(const std::string& name, const void* data, size_t size);
    // REG_SZ with the terminating NUL.
    bool WriteString(const std::string& name, const std::string& text);

    bool DeleteValue(const std::string& name);
    // The names of all values, in the order the registry lists them.
    std::vector<std::string> ValueNames() const;

  private:
    void* key = nullptr;  // HKEY, kept out of this header
};
