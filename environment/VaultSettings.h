// What the vault client keeps in the registry about one vault: enough to
// reach its database and archive server.
#pragma once

#include <cstdint>
#include <string>

struct VaultSettings {
    std::wstring ServerLoc;
    std::wstring DbServer;
    std::wstring DbName;
    std::wstring ShellRoot;  // the local view root, ending with a backslash
    uint32_t ServerPort = 0;
    uint32_t VaultType = 0;
};
