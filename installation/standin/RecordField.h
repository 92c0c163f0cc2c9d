// A field of a COM record read by its name through the record type, as a
// component that knows only the type library reads it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace standin {

// Numbers and booleans as decimal text, BSTRs as their text or "(null)";
// "(no field)" when the record type has no such field.
std::wstring RecordField(IRecordInfo* info, void* record, const wchar_t* name);

}  // namespace standin
