// Whether a rewrite target is a CAD document kept as a plain file rather than
// as an OLE compound file: only those have their referenced documents handed
// to the vault.
#pragma once

#include <string>

// By the extension first, so that other files are never opened. Missing or
// unreadable files answer false; so does the quoted old>new pair form, whose
// extension ends in a quote.
bool IsPlainCadFile(const std::wstring& target);
