// Values of every stored shape read through Registry from a key of the test's own, and what becomes of the key.
#include "environment/Registry.h"

#include "TestRegistryKey.h"

#include <gtest/gtest.h>

namespace {

// A value as stored, and what reading it yields.
template <typename T>
struct Case {
    const wchar_t* name;
    DWORD type;
    const void* data;
    DWORD bytes;
    std::optional<T> expected;
};

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() { EXPECT_TRUE(registry.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ, false)); }

    // Each value stored, then read; a refused read leaves the caller's value untouched.
    template <typename T>
    void ExpectReads(const std::vector<Case<T>>& cases, bool (Registry::*read)(const wchar_t*, T&), T untouched) {
        const auto value = [&](const wchar_t* name) -> std::optional<T> {
            T result = untouched;
            if ((registry.*read)(name, result)) return result;
            EXPECT_EQ(result, untouched) << name;
            return std::nullopt;
        };
        for (const Case<T>& c : cases) {
            stored.SetBytes(c.name, c.type, c.data, c.bytes);
            EXPECT_EQ(value(c.name), c.expected) << c.name;
        }
        EXPECT_EQ(value(L"Missing"), std::nullopt);
        EXPECT_EQ(registry.LastStatus(), ERROR_FILE_NOT_FOUND);
    }

    const std::wstring path = L"Software\\" + UniqueKeyName(L"values");
    const TestRegistryKey stored{HKEY_CURRENT_USER, path};
    Registry registry;
};

// Only text types read as strings. Text stored without a terminator, with nothing at all or with a zero inside ends at
// its first zero character; only the expandable kind has its environment variables replaced.
TEST_F(RegistryTest, OnlyTextsReadAsStringsAndEndAtTheirFirstZeroCharacter) {
    const std::wstring raw = L"%USERPROFILE%\\Vault", expanded = ExpandedBySystem(raw.c_str());
    ASSERT_NE(expanded, raw);
    const DWORD rawBytes = static_cast<DWORD>(raw.size() * sizeof(wchar_t)), terminated = rawBytes + sizeof(wchar_t);
    ExpectReads<std::wstring>(
        {{L"Unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t), L"abc"},
         {L"Nothing", REG_SZ, nullptr, 0, L""},
         {L"TwoParts", REG_SZ, L"ab\0cd", 6 * sizeof(wchar_t), L"ab"},
         {L"Plain", REG_SZ, raw.c_str(), terminated, raw},
         {L"Expandable", REG_EXPAND_SZ, raw.c_str(), rawBytes, expanded},
         {L"Bytes", REG_BINARY, L"abc", 4 * sizeof(wchar_t), std::nullopt}},
        &Registry::ReadString, std::wstring(L"untouched"));
}

// Big-endian bytes are turned round; a number's size must be exactly four bytes, whatever its type says.
TEST_F(RegistryTest, NumbersAreFourBytesInEitherByteOrder) {
    const BYTE bigEndian[] = {0x00, 0x00, 0x1F, 0x90};
    const DWORD plain = 8080;
    const uint64_t wide = 8080;
    ExpectReads<uint32_t>({{L"Plain", REG_DWORD, &plain, sizeof(plain), 8080u},
                           {L"BigEndian", REG_DWORD_BIG_ENDIAN, bigEndian, sizeof(bigEndian), 8080u},
                           {L"Long", REG_DWORD, &wide, sizeof(wide), std::nullopt},
                           {L"Text", REG_SZ, L"80", 2 * sizeof(wchar_t), std::nullopt}},
                          &Registry::ReadNumber, 0xDEADBEEFu);
}

LONG QueryKey(HKEY key) {
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
}

// A key is made only when asked for; the held key is closed by the next open, even one that fails, and by the
// destructor.
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
