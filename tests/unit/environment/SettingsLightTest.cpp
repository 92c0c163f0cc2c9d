// A vault's settings as the client keeps them, in the user's "Vaults" list,
// the machine's "Databases" list or both, read through SettingsLight.
#include "environment/SettingsLight.h"

#include "TestRegistryKey.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const std::wstring kProductKey = kProductKeyPath;

// One vault's key below one of the two lists, removed when the test ends.
class VaultEntry {
public:
    VaultEntry(HKEY root, const wchar_t* list, const std::wstring& vault)
        : key_(root, kProductKey + L"\\" + list + L"\\" + vault) {}

    // Everything a complete entry holds, each value told apart by `tag`.
    const VaultEntry& Complete(const std::wstring& tag) const {
        key_.SetString(L"DbName", tag + L"-db");
        key_.SetString(L"DbServer", tag + L"-server");
        key_.SetString(L"ShellRoot", L"C:\\" + tag);
        key_.SetString(L"ServerLoc", tag + L"-archive");
        key_.SetNumber(L"ServerPort", 3030);
        key_.SetNumber(L"VaultType", 1);
        return *this;
    }
    const TestRegistryKey& Key() const { return key_; }

private:
    TestRegistryKey key_;
};

VaultEntry UserEntry(const std::wstring& vault) { return VaultEntry(HKEY_CURRENT_USER, L"Vaults", vault); }
VaultEntry MachineEntry(const std::wstring& vault) { return VaultEntry(HKEY_LOCAL_MACHINE, L"Databases", vault); }

auto Tie(const VaultSettings& s) {
    return std::tie(s.ServerLoc, s.DbServer, s.DbName, s.ShellRoot, s.ServerPort, s.VaultType);
}

VaultSettings Expected(const std::wstring& tag) {
    VaultSettings expected;
    expected.ServerLoc = tag + L"-archive";
    expected.DbServer = tag + L"-server";
    expected.DbName = tag + L"-db";
    expected.ShellRoot = L"C:\\" + tag + L"\\";
    expected.ServerPort = 3030;
    expected.VaultType = 1;
    return expected;
}

// The user's entry wins only when it names a local view root; the machine's
// entry is used then, and refused without one.
TEST(SettingsLight, TheUsersEntryWinsOnlyWhenItHoldsAShellRoot) {
    const std::wstring both = UniqueKeyName(L"both");
    const VaultEntry userBoth = UserEntry(both);
    userBoth.Complete(L"user");
    const VaultEntry machineBoth = MachineEntry(both);
    machineBoth.Complete(L"machine");

    const std::wstring partial = UniqueKeyName(L"user without root");
    const VaultEntry userPartial = UserEntry(partial);
    userPartial.Complete(L"user");
    RegDeleteValueW(userPartial.Key().Get(), L"ShellRoot");
    const VaultEntry machinePartial = MachineEntry(partial);
    machinePartial.Complete(L"machine");

    const std::wstring machineOnly = UniqueKeyName(L"machine only");
    const VaultEntry machineAlone = MachineEntry(machineOnly);
    machineAlone.Complete(L"alone");

    const std::wstring rootless = UniqueKeyName(L"machine without root");
    const VaultEntry machineRootless = MachineEntry(rootless);
    machineRootless.Complete(L"rootless");
    RegDeleteValueW(machineRootless.Key().Get(), L"ShellRoot");

    SettingsLight settings;
    VaultSettings read;
    ASSERT_TRUE(settings.ReadVaultSettings(both, read));
    EXPECT_EQ(Tie(read), Tie(Expected(L"user")));
    ASSERT_TRUE(settings.ReadVaultSettings(partial, read));
    EXPECT_EQ(Tie(read), Tie(Expected(L"machine")));
    ASSERT_TRUE(settings.ReadVaultSettings(machineOnly, read));
    EXPECT_EQ(Tie(read), Tie(Expected(L"alone")));

    EXPECT_FALSE(settings.ReadVaultSettings(rootless, read));
    EXPECT_FALSE(settings.ReadVaultSettings(UniqueKeyName(L"nowhere"), read));
    EXPECT_FALSE(settings.ReadVaultSettings(L"", read));
    Registry key;
    EXPECT_FALSE(settings.OpenVaultKey(rootless, key));
    EXPECT_NE(key.Get(), nullptr);  // the machine's key is left with the caller all the same
}

// The root is expanded and given its backslash, an empty one included.
TEST(SettingsLight, TheShellRootIsExpandedAndEndsWithABackslash) {
    const std::wstring expandable = UniqueKeyName(L"expandable root");
    const VaultEntry entry = UserEntry(expandable);
    entry.Complete(L"x");
    entry.Key().SetString(L"ShellRoot", L"%USERPROFILE%\\Vault", REG_EXPAND_SZ);
    const std::wstring empty = UniqueKeyName(L"empty root");
    const VaultEntry emptyEntry = UserEntry(empty);
    emptyEntry.Complete(L"x");
    emptyEntry.Key().SetString(L"ShellRoot", L"");
    const std::wstring ending = UniqueKeyName(L"root with backslash");
    const VaultEntry endingEntry = UserEntry(ending);
    endingEntry.Complete(L"x");
    endingEntry.Key().SetString(L"ShellRoot", L"D:\\Views\\");

    SettingsLight settings;
    VaultSettings read;
    ASSERT_TRUE(settings.ReadVaultSettings(expandable, read));
    EXPECT_EQ(read.ShellRoot, ExpandedBySystem(L"%USERPROFILE%\\Vault\\"));
    ASSERT_TRUE(settings.ReadVaultSettings(empty, read));
    EXPECT_EQ(read.ShellRoot, L"\\");
    ASSERT_TRUE(settings.ReadVaultSettings(ending, read));
    EXPECT_EQ(read.ShellRoot, L"D:\\Views\\");
}

// A required value missing or of the wrong type fails the whole read and
// leaves what was read before it; the vault type alone may be unreadable.
TEST(SettingsLight, EveryRequiredValueMustBeThereWithItsType) {
    const std::wstring vault = UniqueKeyName(L"types");
    const VaultEntry entry = UserEntry(vault);
    entry.Complete(L"t");
    SettingsLight settings;

    entry.Key().SetString(L"VaultType", L"1");
    VaultSettings read;
    read.VaultType = 9;
    ASSERT_TRUE(settings.ReadVaultSettings(vault, read));
    EXPECT_EQ(read.VaultType, 0u);

    entry.Key().SetString(L"ServerPort", L"3030");
    EXPECT_FALSE(settings.ReadVaultSettings(vault, read));
    entry.Key().SetNumber(L"ServerPort", 3030);

    entry.Key().SetBytes(L"DbName", REG_BINARY, "db", 2);
    EXPECT_FALSE(settings.ReadVaultSettings(vault, read));
    entry.Key().SetString(L"DbName", L"t-db");

    // Values are read in the order DbName, DbServer, ShellRoot, ServerLoc.
    RegDeleteValueW(entry.Key().Get(), L"ServerLoc");
    VaultSettings partly;
    EXPECT_FALSE(settings.ReadVaultSettings(vault, partly));
    EXPECT_EQ(partly.DbName, L"t-db");
    EXPECT_EQ(partly.DbServer, L"t-server");
    EXPECT_EQ(partly.ShellRoot, L"C:\\t");  // read, but not yet given its backslash
    EXPECT_EQ(partly.ServerLoc, L"");
}

TEST(SettingsLight, OnlyTheTwoListsOpen) {
    const VaultEntry machine = MachineEntry(UniqueKeyName(L"lists"));  // both lists exist
    const VaultEntry user = UserEntry(UniqueKeyName(L"lists"));
    SettingsLight settings;
    Registry list;
    EXPECT_TRUE(settings.OpenListKey(kMachineVaultList, list));
    EXPECT_TRUE(settings.OpenListKey(kUserVaultList, list));
    EXPECT_FALSE(settings.OpenListKey(2, list));
    EXPECT_FALSE(settings.OpenListKey(-1, list));
}

}  // namespace
