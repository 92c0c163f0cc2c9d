#include "report/ReportText.h"

BSTR NewText(const std::wstring& text) { return Bstr(text).Detach(); }

BSTR CopyText(const SharedBstr& text) {
    return text.IsNull() ? nullptr : Bstr(text.Get(), SysStringLen(text.Get())).Detach();
}
