// Values of every stored shape read through Registry from a key of the test's
// own, and what becomes of the key it holds.
#include "environment/Registry.h"

#include "TestRegistryKey.h"

#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() { EXPECT_TRUE(registry.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ, false)); }

    const std::wstring path = L"Software\\" + UniqueKeyName(L"values");
    const TestRegistryKey stored{HKEY_CURRENT_USER, path};
    Registry registry;
};

// What a name yields, or nothing when it is refused.
std::optional<std::wstring> String(Registry& registry, const wchar_t* name) {
    std::wstring value = L"untouched";
    if (!registry.ReadString(name, value)) {
        EXPECT_EQ(value, L"untouched") << name;
        return std::nullopt;
    }
    return value;
}

std::optional<uint32_t> Number(Registry& registry, const wchar_t* name) {
    uint32_t value = 0xDEADBEEF;
    if (!registry.ReadNumber(name, value)) {
        EXPECT_EQ(value, 0xDEADBEEF) << name;
        return std::nullopt;
    }
    return value;
}

// Text stored without a terminator, with an odd byte count, with nothing at
// all or with a zero inside ends at its first zero character; only the
// expandable kind has its environment variables replaced.
TEST_F(RegistryTest, StringsEndAtTheirFirstZeroCharacterHoweverTheyWereStored) {
    const std::wstring raw = L"%USERPROFILE%\\Vault";
    stored.SetBytes(L"Unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    stored.SetBytes(L"Odd", REG_SZ, L"abc\x2164", 7);  // the last character's high byte is not stored
    stored.SetBytes(L"Nothing", REG_SZ, nullptr, 0);
    stored.SetBytes(L"TwoParts", REG_SZ, L"ab\0cd", 6 * sizeof(wchar_t));
    stored.SetString(L"Plain", raw);
    stored.SetBytes(L"Expandable", REG_EXPAND_SZ, raw.c_str(), static_cast<DWORD>(raw.size() * sizeof(wchar_t)));
    ASSERT_NE(ExpandedBySystem(raw.c_str()), raw);

    EXPECT_EQ(String(registry, L"Unterminated"), L"abc");
    EXPECT_EQ(String(registry, L"Odd"), L"abc\x0064");
    EXPECT_EQ(String(registry, L"Nothing"), L"");
    EXPECT_EQ(String(registry, L"TwoParts"), L"ab");
    EXPECT_EQ(String(registry, L"Plain"), raw);
    EXPECT_EQ(String(registry, L"Expandable"), ExpandedBySystem(raw.c_str()));
}

TEST_F(RegistryTest, OnlyTextTypesReadAsStrings) {
    stored.SetBytes(L"Several", REG_MULTI_SZ, L"a\0b\0", 5 * sizeof(wchar_t));
    stored.SetBytes(L"Bytes", REG_BINARY, L"abc", 4 * sizeof(wchar_t));
    stored.SetNumber(L"Number", 7);
    for (const wchar_t* name : {L"Several", L"Bytes", L"Number"}) {
        EXPECT_EQ(String(registry, name), std::nullopt) << name;
    }
    EXPECT_EQ(String(registry, L"Missing"), std::nullopt);
    EXPECT_EQ(registry.LastStatus(), ERROR_FILE_NOT_FOUND);
}

// Big-endian bytes are turned round; a number's size must be exactly four
// bytes, whatever its type says.
TEST_F(RegistryTest, NumbersAreFourBytesInEitherByteOrder) {
    const BYTE bigEndian[] = {0x00, 0x00, 0x1F, 0x90};
    const uint64_t wide = 8080;
    stored.SetNumber(L"Plain", 8080);
    stored.SetBytes(L"BigEndian", REG_DWORD_BIG_ENDIAN, bigEndian, sizeof(bigEndian));
    stored.SetBytes(L"Short", REG_DWORD, bigEndian, 2);
    stored.SetBytes(L"Long", REG_DWORD, &wide, sizeof(wide));
    stored.SetBytes(L"ShortBigEndian", REG_DWORD_BIG_ENDIAN, bigEndian, 3);
    stored.SetBytes(L"Quad", REG_QWORD, &wide, sizeof(wide));
    stored.SetBytes(L"Bytes", REG_BINARY, bigEndian, sizeof(bigEndian));
    stored.SetBytes(L"Text", REG_SZ, L"80", 2 * sizeof(wchar_t));

    EXPECT_EQ(Number(registry, L"Plain"), 8080u);
    EXPECT_EQ(Number(registry, L"BigEndian"), 8080u);
    for (const wchar_t* name : {L"Short", L"Long", L"ShortBigEndian", L"Quad", L"Bytes", L"Text"}) {
        EXPECT_EQ(Number(registry, name), std::nullopt) << name;
    }
    EXPECT_EQ(Number(registry, L"Missing"), std::nullopt);
    EXPECT_EQ(registry.LastStatus(), ERROR_FILE_NOT_FOUND);
}

LONG QueryKey(HKEY key) {
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
}

// A key is made only when asked for; the held key is closed by the next open,
// even one that fails, and by the destructor.
TEST_F(RegistryTest, OpeningCreatesOnlyWhenAskedAndClosesTheKeyHeldBefore) {
    Registry child;
    EXPECT_FALSE(child.Open(stored.Get(), L"child", KEY_READ, false));
    EXPECT_EQ(child.LastStatus(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(child.Get(), nullptr);
    ASSERT_TRUE(child.Open(stored.Get(), L"child", KEY_READ | KEY_WRITE, true));
    const HKEY created = child.Get();
    EXPECT_EQ(QueryKey(created), ERROR_SUCCESS);

    EXPECT_FALSE(child.Open(stored.Get(), L"missing", KEY_READ, false));
    EXPECT_EQ(child.Get(), nullptr);
    EXPECT_EQ(QueryKey(created), ERROR_INVALID_HANDLE);

    HKEY reopened = nullptr;
    {
        Registry scoped;
        ASSERT_TRUE(scoped.Open(stored.Get(), L"child", KEY_READ, false));  // it was kept
        reopened = scoped.Get();
    }
    EXPECT_EQ(QueryKey(reopened), ERROR_INVALID_HANDLE);
}

}  // namespace
