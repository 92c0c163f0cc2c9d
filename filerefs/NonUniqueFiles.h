// The dialog that lists the vault files carrying a name that is not unique
// in the vault.
#pragma once

#include "GhMove.h"

#include <memory>
#include <string>
#include <vector>

using FoundFiles = std::vector<std::shared_ptr<FoundFileRecord>>;

// The dialog's caption: `localRoot` after its last backslash.
std::wstring NonUniqueFilesCaption(const std::wstring& localRoot);

// Shows the dialog for the paths, the paths they clash with and the vault
// files found; returns the dialog's result. A missing dialog, out of memory
// or a missing record type leave as ComError.
HRESULT ShowNonUniqueFilesDialog(const std::vector<std::wstring>& paths, const std::vector<std::wstring>& otherPaths,
                                 const FoundFiles& found, const std::wstring& localRoot);
