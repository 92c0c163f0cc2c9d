#include "installation/standin/RecordField.h"

#include <oleauto.h>

namespace standin {

std::wstring RecordField(IRecordInfo* info, void* record, const wchar_t* name) {
    VARIANT field;
    VariantInit(&field);
    void* unused = nullptr;
    // The field is not copied: nothing to clear.
    if (FAILED(info->GetFieldNoCopy(record, name, &field, &unused))) return L"(no field)";
    switch (field.vt & ~VT_BYREF) {
        case VT_I4: return std::to_wstring(*field.plVal);
        case VT_BOOL: return std::to_wstring(*field.pboolVal);
        case VT_BSTR: {
            const BSTR text = *field.pbstrVal;
            return text ? std::wstring(text, SysStringLen(text)) : L"(null)";
        }
        default: return L"vt" + std::to_wstring(field.vt);
    }
}

}  // namespace standin
