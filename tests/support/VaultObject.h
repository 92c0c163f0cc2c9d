// The installation's vault object, as a host lends it in MoveRequest::vault.
#pragma once

#include "common/ComPtr.h"

#include <string>
#include <vector>

// Created after the test folder's "Vault" configuration was written; COM must
// be initialised on the thread.
ComPtr<IUnknown> CreateVaultObject();

// A "Vault" configuration line: a document the vault knows and what it references.
std::wstring VaultDocument(const std::wstring& path, const std::vector<std::wstring>& references = {});
