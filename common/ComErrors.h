// Raising COM errors: an HRESULT with an error-information object whose
// description says what failed. They leave as ComError exceptions, and end
// at a COM boundary as the HRESULT they carry.
#pragma once

#include "GhMove.h"

#include <new>
#include <string>

[[noreturn]] void RaiseComError(HRESULT code, const std::wstring& text);

// A failure code leaves as a ComError carrying the error information that
// the failing call left on the thread; when it left none, a `fallbackText`
// becomes the description. Success codes pass.
void ThrowIfFailed(HRESULT code, const wchar_t* fallbackText = nullptr);

// Runs `call` (returning an HRESULT) so that nothing it raises leaves: a
// ComError ends as its code, a failed allocation of memory as `outOfMemory`.
template <class F>
HRESULT GuardedCall(F&& call, HRESULT outOfMemory = E_OUTOFMEMORY) {
    try {
        return call();
    } catch (const ComError& error) {
        return error.Code();
    } catch (const std::bad_alloc&) {
        return outOfMemory;
    }
}
