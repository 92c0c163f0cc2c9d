// Raising COM errors: an HRESULT with an error-information object whose
// description says what failed. They leave as ComError exceptions.
#pragma once

#include "GhMove.h"

#include <string>

[[noreturn]] void RaiseComError(HRESULT code, const std::wstring& text);

// A failure code leaves as a ComError carrying the thread's error information,
// when the component that failed left any; success codes pass.
void RaiseOnFailure(HRESULT code);
