// The registry key wrapper on the real registry: values of every length and
// the type checks its readers make.
#include "platform/registry_key.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/wine/registry_sandbox.h"

namespace {

const char kPath[] = "Software\\Quenmora\\TarnuRegistryTest\\Nested";

class RegistryKeyTest : public ::testing::Test {
  protected:
    RegistrySandbox registry{"Software\\Quenmora\\TarnuRegistryTest"};
};

TEST_F(RegistryKeyTest, CreatesMissingKeysAndKeepsValuesOfAnyLength) {
    std::string big(100000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7);
    {
        RegistryKey key(kPath);
        ASSERT_TRUE(key.IsOpen());
        EXPECT_TRUE(key.WriteBinary("Big", big.data(), big.size()));
        EXPECT_TRUE(key.WriteString("Text", std::string(5000, 't')));
        EXPECT_TRUE(key.WriteDword("Number", 0xDEADBEEF));
    }
    EXPECT_EQ(GetRawValue(kPath, "Big").data, big);
    EXPECT_EQ(GetRawValue(kPath, "Text").data, StringBytes(std::string(5000, 't')));

    const RegistryKey key(kPath);
    RegistryValue value;
    ASSERT_TRUE(key.Read("Big", &value));
    EXPECT_EQ(value.type, reg::kBinary);
    EXPECT_EQ(value.data, big);
    std::string text;
    ASSERT_TRUE(key.ReadString("Text", &text));
    EXPECT_EQ(text, std::string(5000, 't'));
    uint32_t number = 0;
    ASSERT_TRUE(key.ReadDword("Number", &number));
    EXPECT_EQ(number, 0xDEADBEEFu);
}

TEST_F(RegistryKeyTest, TypedReadersRefuseOtherTypes) {
    PutRawValue(kPath, "Text", REG_SZ, DwordBytes(1));
    PutRawValue(kPath, "Number", REG_DWORD, DwordBytes(1));
    PutRawValue(kPath, "Expand", REG_EXPAND_SZ, StringBytes("%TEMP%"));
    const RegistryKey key(kPath);
    uint32_t number = 0;
    std::string text;
    EXPECT_FALSE(key.ReadDword("Text", &number));
    EXPECT_FALSE(key.ReadDword("Missing", &number));
    EXPECT_FALSE(key.ReadString("Number", &text));
    ASSERT_TRUE(key.ReadString("Expand", &text));
    EXPECT_EQ(text, "%TEMP%");  // not expanded
    RegistryValue value;
    EXPECT_FALSE(key.Read("Missing", &value));
}

TEST_F(RegistryKeyTest, DefaultValueListingAndDeletion) {
    RegistryKey key(kPath);
    EXPECT_TRUE(key.Write("", reg::kString, "used", 4));
    EXPECT_EQ(GetRawValue(kPath, "").type, DWORD(REG_SZ));
    for (const char* name : {"A", "B", "C"}) key.WriteDword(name, 0);

    std::vector<std::string> names = key.ValueNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "A", "B", "C"}));

    EXPECT_TRUE(key.DeleteValue("B"));
    EXPECT_FALSE(key.DeleteValue("B"));
    names = key.ValueNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "A", "C"}));
}

}  // namespace
