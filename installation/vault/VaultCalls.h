// How every call of the vault object starts: it is journaled, and a
// configured failure ("fail:<call>") is answered with error information.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>

namespace vault {

// S_OK, or the failure configured for the call named by the first field.
HRESULT Called(std::initializer_list<std::wstring> fields);

// Whether the configuration switches an interface off ("without=<name>").
bool Without(const wchar_t* name);

// The text of a BSTR for the journal; "(null)" for none.
std::wstring Text(BSTR text);

}  // namespace vault
