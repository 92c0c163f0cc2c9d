// The documents that a plain CAD document references.
#pragma once

#include <unknwn.h>

#include <string>

// Hands the vault's handler each referenced document that the vault knows,
// except `target` itself. S_FALSE when the vault has no object model or does
// not know `target`; the vault's failures are raised as ComError.
HRESULT ProcessReferencedFiles(IUnknown* vault, const std::wstring& target);
