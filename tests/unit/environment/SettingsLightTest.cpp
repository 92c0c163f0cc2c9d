// A vault's settings from the user's "Vaults" list, the machine's "Databases" list or both.
#include "environment/SettingsLight.h"

#include "TestRegistryKey.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

auto Tie(const VaultSettings& s) {
    return std::tie(s.ServerLoc, s.DbServer, s.DbName, s.ShellRoot, s.ServerPort, s.VaultType);
}

// What a complete entry made with `tag` reads as.
VaultSettings Expected(const std::wstring& tag) {
    return {tag + L"-archive", tag + L"-server", tag + L"-db", L"C:\\" + tag + L"\\", 3030, 1};
}

class SettingsLightTest : public ::testing::Test {
protected:
    // A complete entry of `vault` in the user's or the machine's list, each value told apart by `tag`; removed when the
    // test ends.
    const TestRegistryKey& Entry(bool user, const std::wstring& vault, const std::wstring& tag) {
        entries.push_back(std::make_unique<TestRegistryKey>(
            user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
            std::wstring(kProductKeyPath) + (user ? L"\\Vaults\\" : L"\\Databases\\") + vault));
        const TestRegistryKey& key = *entries.back();
        key.SetString(L"DbName", tag + L"-db");
        key.SetString(L"DbServer", tag + L"-server");
        key.SetString(L"ShellRoot", L"C:\\" + tag);
        key.SetString(L"ServerLoc", tag + L"-archive");
        key.SetNumber(L"ServerPort", 3030);
        key.SetNumber(L"VaultType", 1);
        return key;
    }

    std::vector<std::unique_ptr<TestRegistryKey>> entries;
    SettingsLight settings;
    VaultSettings read;
};

// The user's entry wins only when it names a local view root; the machine's entry is used then, and refused without
// one. No other list opens.
TEST_F(SettingsLightTest, TheUsersEntryWinsOnlyWhenItHoldsAShellRoot) {
    const std::wstring both = UniqueKeyName(L"both"), partial = UniqueKeyName(L"user without root"),
                       machineOnly = UniqueKeyName(L"machine only"), rootless = UniqueKeyName(L"machine without root");
    Entry(true, both, L"user");
    Entry(false, both, L"machine");
    RegDeleteValueW(Entry(true, partial, L"user").Get(), L"ShellRoot");
    Entry(false, partial, L"machine");
    Entry(false, machineOnly, L"alone");
    RegDeleteValueW(Entry(false, rootless, L"rootless").Get(), L"ShellRoot");

    const std::pair<std::wstring, std::wstring> chosen[] = {
        {both, L"user"}, {partial, L"machine"}, {machineOnly, L"alone"}};
    for (const auto& [vault, tag] : chosen) {
        ASSERT_TRUE(settings.ReadVaultSettings(vault, read)) << tag;
        EXPECT_EQ(Tie(read), Tie(Expected(tag)));
    }
    EXPECT_FALSE(settings.ReadVaultSettings(rootless, read));
    EXPECT_FALSE(settings.ReadVaultSettings(UniqueKeyName(L"nowhere"), read));
    EXPECT_FALSE(settings.ReadVaultSettings(L"", read));
    Registry key;
    EXPECT_FALSE(settings.OpenVaultKey(rootless, key));
    EXPECT_NE(key.Get(), nullptr);  // the machine's key is left with the caller all the same
    EXPECT_FALSE(settings.OpenListKey(2, key));  // both lists exist
    EXPECT_FALSE(settings.OpenListKey(-1, key));
}

// The root is given its backslash, an empty one included.
TEST_F(SettingsLightTest, TheShellRootEndsWithABackslash) {
    const std::wstring vault = UniqueKeyName(L"roots");
    const TestRegistryKey& entry = Entry(true, vault, L"x");
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"", L"\\"}, {L"D:\\Views\\", L"D:\\Views\\"}};
    for (const auto& [stored, expected] : cases) {
        entry.SetString(L"ShellRoot", stored);
        ASSERT_TRUE(settings.ReadVaultSettings(vault, read)) << stored;
        EXPECT_EQ(read.ShellRoot, expected);
    }
}

// A required value missing or of the wrong type fails the whole read and leaves what was read before it; the vault type
// alone may be unreadable.
TEST_F(SettingsLightTest, EveryRequiredValueMustBeThereWithItsType) {
    const std::wstring vault = UniqueKeyName(L"types");
    const TestRegistryKey& entry = Entry(true, vault, L"t");

    entry.SetString(L"VaultType", L"1");
    read.VaultType = 9;
    ASSERT_TRUE(settings.ReadVaultSettings(vault, read));
    EXPECT_EQ(read.VaultType, 0u);

    entry.SetString(L"ServerPort", L"3030");
    EXPECT_FALSE(settings.ReadVaultSettings(vault, read));
    entry.SetNumber(L"ServerPort", 3030);

    // Values are read in the order DbName, DbServer, ShellRoot, ServerLoc.
    RegDeleteValueW(entry.Get(), L"ServerLoc");
    VaultSettings partly;
    EXPECT_FALSE(settings.ReadVaultSettings(vault, partly));
    EXPECT_EQ(partly.DbName, L"t-db");
    EXPECT_EQ(partly.DbServer, L"t-server");
    EXPECT_EQ(partly.ShellRoot, L"C:\\t");  // read, but not yet given its backslash
    EXPECT_EQ(partly.ServerLoc, L"");
}

}  // namespace
