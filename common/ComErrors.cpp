#include "common/ComErrors.h"

#include "common/Bstr.h"
#include "common/ComPtr.h"

// Without an error object when any step of building one fails.
void RaiseComError(HRESULT code, const std::wstring& text) {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.Put())) && create) {
        const Bstr description(text);
        if (SUCCEEDED(create->SetDescription(description.Get()))) {
            const auto info = ComPtr<IErrorInfo>::Query(create.Get(), IID_IErrorInfo);
            if (info) throw ComError(code, info.Get());
        }
    }
    throw ComError(code);
}

void ThrowIfFailed(HRESULT code, const wchar_t* fallbackText) {
    if (SUCCEEDED(code)) return;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) throw ComError(code, info.Get());
    if (fallbackText) RaiseComError(code, fallbackText);
    throw ComError(code);
}
