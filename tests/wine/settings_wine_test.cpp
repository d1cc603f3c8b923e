// The options in the real registry: defaults, types, toggles and the stored
// check value.
#include <gtest/gtest.h>

#include <vector>

#include "tests/wine/registry_sandbox.h"
#include "ui/settings.h"

namespace {

const char* const kOptionNames[] = {"Zero",          "Rand",     "Confirm",  "PasswordMask",
                                    "WriteReadOnly", "AutoExit", "HashCheck"};

// The seven options in the order of kOptionNames.
void ExpectOptions(const Settings& settings, const std::vector<uint32_t>& expected) {
    const uint32_t actual[] = {settings.zero,         settings.rand,          settings.confirm,
                               settings.passwordMask, settings.writeReadOnly, settings.autoExit,
                               settings.hashCheck};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(actual[i], expected[i]) << kOptionNames[i];
}

PasswordCheckValue Pattern() {
    PasswordCheckValue hash;
    for (size_t i = 0; i < hash.size(); ++i) hash[i] = uint8_t(0xA0 + i);
    return hash;
}

std::string Bytes(const PasswordCheckValue& hash) { return std::string(hash.begin(), hash.end()); }

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() { texts.SetText("used", "in use"); }

    RegistryValue Stored(const std::string& name) { return GetRawValue(kSettingsKeyPath, name); }
    void Store(const std::string& name, DWORD type, const std::string& data) {
        PutRawValue(kSettingsKeyPath, name, type, data);
    }

    RegistrySandbox registry{kSettingsKeyPath};
    TextTable texts;
};

TEST_F(SettingsTest, FirstRunTakesDefaultsAndTheFirstSaveWritesEveryValue) {
    const Settings settings = LoadSettings(kSettingsKeyPath);
    ExpectOptions(settings, {1, 1, 1, 1, 0, 0, 1});
    EXPECT_EQ(settings.hashValue, PasswordCheckValue{});

    SaveSettings(settings, texts, kSettingsKeyPath);
    const DWORD expected[] = {1, 1, 1, 1, 0, 0, 1};
    for (size_t i = 0; i < 7; ++i) {
        const RegistryValue value = Stored(kOptionNames[i]);
        EXPECT_EQ(value.type, DWORD(REG_DWORD)) << kOptionNames[i];
        EXPECT_EQ(value.data, DwordBytes(expected[i])) << kOptionNames[i];
    }
    const RegistryValue hash = Stored("HashValue");
    EXPECT_EQ(hash.type, DWORD(REG_BINARY));
    EXPECT_EQ(hash.data, std::string(20, '\0'));
    const RegistryValue used = Stored("");
    EXPECT_EQ(used.type, DWORD(REG_SZ));
    EXPECT_EQ(used.data.substr(0, used.data.find('\0')), "in use");
}

TEST_F(SettingsTest, StoredValuesAreReadAndWrittenBackUnchanged) {
    const DWORD stored[] = {0, 0, 0, 0, 1, 1, 1};
    for (size_t i = 0; i < 7; ++i) Store(kOptionNames[i], REG_DWORD, DwordBytes(stored[i]));
    Store("HashValue", REG_BINARY, Bytes(Pattern()));

    const Settings settings = LoadSettings(kSettingsKeyPath);
    ExpectOptions(settings, {0, 0, 0, 0, 1, 1, 1});
    EXPECT_EQ(settings.hashValue, Pattern());

    SaveSettings(settings, texts, kSettingsKeyPath);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(Stored(kOptionNames[i]).data, DwordBytes(stored[i]));
    EXPECT_EQ(Stored("HashValue").data, Bytes(Pattern()));
}

TEST_F(SettingsTest, ValueOfAnotherTypeCountsAsMissing) {
    // Zero bytes, so a read that ignored the type would turn the options off.
    Store("Confirm", REG_SZ, std::string(4, '\0'));
    Store("Zero", REG_BINARY, std::string(4, '\0'));
    Store("AutoExit", REG_DWORD, std::string(2, '\1'));  // not four bytes
    const Settings settings = LoadSettings(kSettingsKeyPath);
    EXPECT_EQ(settings.confirm, 1u);
    EXPECT_EQ(settings.zero, 1u);
    EXPECT_EQ(settings.autoExit, 0u);
}

TEST_F(SettingsTest, TwoCountsAsOnAndTogglesToZeroThenOne) {
    Store("Rand", REG_DWORD, DwordBytes(2));
    Store("Zero", REG_DWORD, DwordBytes(2));
    Settings settings = LoadSettings(kSettingsKeyPath);
    ASSERT_EQ(settings.rand, 2u);

    settings.rand = Toggled(settings.rand);
    SaveSettings(settings, texts, kSettingsKeyPath);
    EXPECT_EQ(Stored("Rand").data, DwordBytes(0));
    EXPECT_EQ(Stored("Zero").data, DwordBytes(2));  // not toggled: as read

    settings = LoadSettings(kSettingsKeyPath);
    settings.rand = Toggled(settings.rand);
    SaveSettings(settings, texts, kSettingsKeyPath);
    EXPECT_EQ(Stored("Rand").data, DwordBytes(1));
}

TEST_F(SettingsTest, CheckSwitchedOffForgetsTheCheckValue) {
    Settings settings;
    settings.hashValue = Pattern();
    settings.hashCheck = 0;
    SaveSettings(settings, texts, kSettingsKeyPath);
    EXPECT_EQ(Stored("HashValue").data, std::string(20, '\0'));
    EXPECT_EQ(LoadSettings(kSettingsKeyPath).hashValue, PasswordCheckValue{});
}

TEST_F(SettingsTest, CheckValueThatDoesNotFitIsNone) {
    Store("HashValue", REG_BINARY, std::string(32, '\x5a'));
    EXPECT_EQ(LoadSettings(kSettingsKeyPath).hashValue, PasswordCheckValue{});
}

}  // namespace
