#include "ui/settings.h"

#include <algorithm>

#include "platform/registry_key.h"

const char kSettingsKeyPath[] = "Software\\Quenmora\\Tarnu";

namespace {

struct DwordSetting {
    const char* name;
    uint32_t Settings::*field;
};

// In the order they are read and written.
const DwordSetting kDwordSettings[] = {
    {"Zero", &Settings::zero},
    {"Rand", &Settings::rand},
    {"Confirm", &Settings::confirm},
    {"PasswordMask", &Settings::passwordMask},
    {"WriteReadOnly", &Settings::writeReadOnly},
    {"AutoExit", &Settings::autoExit},
    {"HashCheck", &Settings::hashCheck},
};

const char kHashValue[] = "HashValue";

// A value that does not fit the 20 bytes is not a check value: none is kept.
PasswordCheckValue ReadHashValue(const RegistryKey& key) {
    PasswordCheckValue hash{};
    RegistryValue value;
    if (key.Read(kHashValue, &value) && value.data.size() <= hash.size()) {
        std::copy(value.data.begin(), value.data.end(), hash.begin());
    }
    return hash;
}

}  // namespace

Settings LoadSettings(const std::string& keyPath) {
    Settings settings;
    const RegistryKey key(keyPath);
    if (!key.IsOpen()) return settings;
    for (const DwordSetting& setting : kDwordSettings) {
        uint32_t number = 0;
        if (key.ReadDword(setting.name, &number)) settings.*setting.field = number;
    }
    settings.hashValue = ReadHashValue(key);
    return settings;
}

void SaveSettings(const Settings& settings, const TextTable& texts, const std::string& keyPath) {
    RegistryKey key(keyPath);
    if (!key.IsOpen()) return;
    // Stored without a terminating NUL, as earlier versions wrote it.
    const std::string used = texts.LookupText("used");
    key.Write("", reg::kString, used.data(), used.size());
    for (const DwordSetting& setting : kDwordSettings) {
        key.WriteDword(setting.name, settings.*setting.field);
    }
    const PasswordCheckValue hash = settings.hashCheck ? settings.hashValue : PasswordCheckValue{};
    key.WriteBinary(kHashValue, hash.data(), hash.size());
}
