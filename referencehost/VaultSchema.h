// The tables of the vault database and their version.
#pragma once

#include "referencehost/Database.h"

#include <string>

inline constexpr int kSchemaVersion = 1;
inline constexpr wchar_t kDatabaseName[] = L"vault.db";

// Creates every table in a new, empty database.
void CreateSchema(Database& db);

// Opens the vault database of `vaultFolder`, refusing one that is missing,
// damaged, locked (for writing, also by another program's pending write) or
// of another version; a refusal leaves the file as it was.
enum class Access { Read, Write };
Database OpenVaultDatabase(const std::wstring& vaultFolder, Access access);
