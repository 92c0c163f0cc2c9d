// The installation's vault object: what a host lends the module in
// MoveRequest::vault. A test creates it with CoCreateInstance after writing
// its configuration.
//
// Journal (Vault.journal): every call it receives, with its arguments. Its
// dispatchers call the add-ins listed under the installation's add-in key.
// Configuration (Vault.ini):
//   document=<path>|<referenced path>|...  a document the vault knows and the
//                                          paths it references (fields escaped
//                                          as in every stand-in configuration)
//   fail:<call>=<code>       the call answers the code, with error information
//   folder=<path>|<id>       a vault folder at that full local path
//   database=<path>|<root>   the vault's SQLite file, whose folders table
//                            holds the folders below the local root <root>;
//                            read instead of the folder lines
//   without=model|handler|utility|hooks|value|dispatch|folders   that interface is missing
//   null-dispatcher=<cmd>    GetDispatcher hands out none for that command
//   vault-value=<n>          what GetVaultValue and the "VaultValue" property give
//   null-results=1           GetResults answers S_OK with no list
//   null-position=first|next the first or every next position comes back null
#pragma once

#include <windows.h>

// {6B0B8D43-1E0C-4F3B-9C55-2B7E5A4C9D10}
inline constexpr CLSID CLSID_StandinVault = {0x6B0B8D43, 0x1E0C, 0x4F3B, {0x9C, 0x55, 0x2B, 0x7E, 0x5A, 0x4C, 0x9D, 0x10}};

inline constexpr const wchar_t* kVaultComponent = L"Vault";
