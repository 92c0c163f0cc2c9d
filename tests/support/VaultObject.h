// The installation's vault object, as a host lends it in MoveRequest::vault.
#pragma once

#include "common/ComPtr.h"
#include "installation/standin/Journal.h"
#include "installation/vault/VaultClass.h"

#include <stdexcept>
#include <string>
#include <vector>

// Created after the test folder's "Vault" configuration was written; COM must
// be initialised on the thread.
inline ComPtr<IUnknown> CreateVaultObject() {
    ComPtr<IUnknown> vault;
    if (FAILED(CoCreateInstance(CLSID_StandinVault, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, vault.PutVoid()))) {
        throw std::runtime_error("the vault object is not installed");
    }
    return vault;
}

// The object's reference count, as its own AddRef and Release tell it.
inline ULONG ReferenceCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

// A "Vault" configuration line: a document the vault knows and what it references.
inline std::wstring VaultDocument(const std::wstring& path, const std::vector<std::wstring>& references = {}) {
    std::wstring line = L"document=" + standin::EscapeField(path);
    for (const std::wstring& reference : references) line += L"|" + standin::EscapeField(reference);
    return line;
}
