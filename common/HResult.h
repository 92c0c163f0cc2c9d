// Win32 error codes as HRESULTs, the module's one rule for it.
#pragma once

#include <windows.h>

// A positive error e gives 0x80070000 | (e & 0xFFFF); any other value is kept.
constexpr HRESULT HResultFromWin32(DWORD error) {
    return static_cast<LONG>(error) > 0 ? static_cast<HRESULT>((error & 0xFFFF) | 0x80070000u)
                                        : static_cast<HRESULT>(error);
}

inline HRESULT HResultFromLastError() { return HResultFromWin32(GetLastError()); }
