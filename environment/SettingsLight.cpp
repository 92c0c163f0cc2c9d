#include "environment/SettingsLight.h"

namespace {

constexpr const wchar_t* kMachineVaultsKey = L"Databases";
constexpr const wchar_t* kUserVaultsKey = L"Vaults";
constexpr const wchar_t* kShellRootValue = L"ShellRoot";

}  // namespace

bool SettingsLight::OpenProductKeys() {
    if (!machineKey_.Get() && !machineKey_.Open(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_READ, false)) return false;
    // A user who never ran the client has no key yet; made so that the machine's vaults are still found.
    return userKey_.Get() || userKey_.Open(HKEY_CURRENT_USER, kProductKeyPath, KEY_READ | KEY_WRITE, true);
}

bool SettingsLight::OpenListKey(int which, Registry& key) {
    if (!OpenProductKeys()) return false;
    switch (which) {
    case kMachineVaultList:
        return key.Open(machineKey_.Get(), kMachineVaultsKey, KEY_READ, false);
    case kUserVaultList:
        return key.Open(userKey_.Get(), kUserVaultsKey, KEY_READ, false);
    default:
        return false;
    }
}

bool SettingsLight::OpenVaultKey(const std::wstring& vault, Registry& key) {
    if (vault.empty()) return false;
    Registry machineVaults;
    Registry userVaults;
    const bool machineListOpen = OpenListKey(kMachineVaultList, machineVaults);
    const bool userListOpen = OpenListKey(kUserVaultList, userVaults);
    if (userListOpen && key.Open(userVaults.Get(), vault.c_str(), KEY_READ, false) && key.HasValue(kShellRootValue)) {
        return true;
    }
    if (machineListOpen && key.Open(machineVaults.Get(), vault.c_str(), KEY_READ, false)) {
        return key.HasValue(kShellRootValue);
    }
    return false;
}

bool SettingsLight::ReadVaultSettings(const std::wstring& vault, VaultSettings& settings) {
    Registry key;
    if (!OpenVaultKey(vault, key)) return false;
    const bool required = key.ReadString(L"DbName", settings.DbName) &&
                          key.ReadString(L"DbServer", settings.DbServer) &&
                          key.ReadString(kShellRootValue, settings.ShellRoot) &&
                          key.ReadString(L"ServerLoc", settings.ServerLoc) &&
                          key.ReadNumber(L"ServerPort", settings.ServerPort);
    if (!required) return false;
    if (!key.ReadNumber(L"VaultType", settings.VaultType)) settings.VaultType = 0;
    if (settings.ShellRoot.empty() || settings.ShellRoot.back() != L'\\') settings.ShellRoot += L'\\';
    return true;
}
