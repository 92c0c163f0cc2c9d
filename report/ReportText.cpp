#include "report/ReportText.h"

BSTR CopyText(const SharedBstr& text) {
    return text.IsNull() ? nullptr : Bstr(text.Get(), SysStringLen(text.Get())).Detach();
}
