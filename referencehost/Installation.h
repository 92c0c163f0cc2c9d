// The vault client's installation as the host uses it: the module, the vault
// object it lends the module for the add-ins, the login manager while dialogs
// may explain refusals, and the file-format manager for recovery.
#pragma once

#include "GhMove.h"
#include "common/ComApartment.h"
#include "common/ComPtr.h"
#include "common/Handles.h"
#include "referencehost/ClientLogin.h"
#include "interfaces/FileFormatMgr.h"

#include <memory>

class Installation {
public:
    // Raises UsageError when a part is missing.
    explicit Installation(bool withLogin);

    HMODULE Module() const { return module_.Get(); }
    GhMoveFunction GhMove() const { return ghMove_; }
    IUnknown* VaultObject() const { return vaultObject_.Get(); }
    FileFormatMgr* FileFormats() const { return fileFormats_; }

private:
    ComApartment apartment_;
    UniqueLibrary module_;
    UniqueLibrary formats_;
    GhMoveFunction ghMove_ = nullptr;
    FileFormatMgr* fileFormats_ = nullptr;
    ComPtr<IUnknown> vaultObject_;
    std::unique_ptr<ClientLogin> login_;
};
