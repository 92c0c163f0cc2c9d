// The user's rights on vault folders, read through the permission connection
// and the folder lookup of the vault object that the host lent.
#pragma once

#include "common/ComPtr.h"
#include "interfaces/Dalbrook.h"
#include "interfaces/VaultFolderLookup.h"

#include <cstdint>
#include <optional>
#include <string>

// The rights bits that explanations read.
inline constexpr uint32_t kRightReadContents = 0x00000001;
inline constexpr uint32_t kRightAddFile = 0x00000008;
inline constexpr uint32_t kRightMoveFiles = 0x00200000;
inline constexpr uint32_t kRightMoveFolders = 0x00800000;
inline constexpr uint32_t kRightAddFolder = 0x01000000;

class FolderRights {
public:
    // Without a connection or a vault that looks folders up, no rights can be read.
    FolderRights(SpMgr* connection, IUnknown* vault, int32_t hostContext);

    // The rights on the folder at a full local path; none when the vault does
    // not know the folder or the library cannot tell.
    std::optional<uint32_t> Of(const std::wstring& folderPath) const;

private:
    ComPtr<IVaultFolderLookup> lookup_;
    SpProject* project_ = nullptr;  // the connection's
    int32_t hostContext_;
};
