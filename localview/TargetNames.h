// The names a file or folder may be given in the local view.
#pragma once

#include "localview/MoveErrors.h"

#include <string>

// True when the name holds none of / \ : * ? " < > | CR LF VT and is not made
// of periods only. An empty name is valid.
bool IsValidFileName(const wchar_t* name);

// A new name that is refused becomes one E_QOR_INVALID_NAME entry, the name
// its detail; false then.
bool CheckTargetName(const std::wstring& name, const std::wstring& oldPath, const std::wstring& newPath,
                     MoveErrors& errors);
