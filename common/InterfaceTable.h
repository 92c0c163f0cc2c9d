// QueryInterface of the module's own COM objects, answered from a table of
// the interfaces an object offers.
#pragma once

#include "common/RefObj.h"

#include <windows.h>
#include <unknwn.h>

#include <initializer_list>

// One interface: its identifier and the object's pointer for it.
struct InterfaceEntry {
    const IID& iid;
    void* pointer;
};

// E_POINTER without `out`. Otherwise `*out` is the pointer of the first entry
// that names `iid`, with one more reference on `object`, or null with
// E_NOINTERFACE.
inline HRESULT QueryInterfaceTable(RefObj& object, std::initializer_list<InterfaceEntry> table, REFIID iid,
                                   void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const InterfaceEntry& entry : table) {
        if (iid != entry.iid) continue;
        *out = entry.pointer;
        object.AddRefObj();
        return S_OK;
    }
    return E_NOINTERFACE;
}
