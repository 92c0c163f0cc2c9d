#include "report/ReportText.h"

#include "common/ComErrors.h"

Bstr MakeBstr(const std::wstring& text) {
    BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!b) throw ComError(E_OUTOFMEMORY);
    return Bstr::Attach(b);
}

BSTR NewText(const std::wstring& text) { return MakeBstr(text).Detach(); }

BSTR CopyText(const SharedBstr& text) {
    if (text.IsNull()) return nullptr;
    BSTR b = SysAllocStringLen(text.Get(), SysStringLen(text.Get()));
    if (!b) throw ComError(E_OUTOFMEMORY);
    return b;
}

SharedBstr SharedText(const std::wstring& text) { return SharedBstr(MakeBstr(text)); }
