#include "report/ErrorText.h"

#include "common/Handles.h"
#include "common/TextFormat.h"

// The vault's own table of texts arrives with the error reporting; until then
// every code gets the system's message, or its value in hex.
SharedBstr ErrorText(HRESULT code) {
    UniqueLocalMem<wchar_t> buffer;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring text;
    if (length && buffer) {
        text.assign(buffer.get(), length);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    }
    if (text.empty()) text = FormatText(L"Unknown error 0x%0lX", {static_cast<uint32_t>(code)});
    return SharedBstr(text);
}
