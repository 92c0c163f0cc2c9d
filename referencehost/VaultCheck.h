// Whether the database, the local view on disk and the references stored
// inside the documents agree: one line per disagreement.
#pragma once

#include "referencehost/Catalog.h"
#include "referencehost/Database.h"

#include <string>
#include <vector>

std::vector<std::wstring> CheckVault(Database& db, const Catalog& catalog, const std::wstring& localRoot);
