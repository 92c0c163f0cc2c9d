// New vaults: the tables, the local view's folders and the documents, all in
// one transaction.
#pragma once

#include "referencehost/Database.h"

#include <string>

void BuildEmptyVault(Database& db, const std::wstring& localRoot);
// A small CAD project: assemblies referencing parts, a drawing referencing an
// assembly, in the plain and the compound formats; a folder the user may not
// move files out of, a file checked out on another computer and a file name
// that two files carry.
void BuildSampleVault(Database& db, const std::wstring& localRoot);
// `files` documents in nested folders, a tenth of them assemblies that
// reference the parts beside them, for runs at scale.
void BuildGeneratedVault(Database& db, const std::wstring& localRoot, int files);
