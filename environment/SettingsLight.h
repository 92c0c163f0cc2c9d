// The vault client's registry settings of one vault, from the user's or the
// machine's entry.
#pragma once

#include "environment/Registry.h"
#include "environment/VaultSettings.h"
#include "interfaces/ProductKey.h"

#include <string>

// The lists of vaults that OpenListKey opens.
inline constexpr int kMachineVaultList = 0;  // "Databases" below the machine's product key
inline constexpr int kUserVaultList = 1;     // "Vaults" below the user's product key

// Opens the two product keys on first use and keeps them open until it goes,
// so that several lookups through one object open them once.
class SettingsLight {
public:
    SettingsLight() = default;
    virtual ~SettingsLight() = default;

    // False for any other list, and for both when either product key cannot be opened.
    bool OpenListKey(int which, Registry& key);
    // The user's entry when it names a local view root, else the machine's;
    // false when the chosen entry has none ("ShellRoot").
    bool OpenVaultKey(const std::wstring& vault, Registry& key);
    // False at the first required value missing or of the wrong type; the
    // fields read before it keep what was read.
    bool ReadVaultSettings(const std::wstring& vault, VaultSettings& settings);

private:
    bool OpenProductKeys();

    Registry userKey_;
    Registry machineKey_;
};
