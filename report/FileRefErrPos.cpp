#include "report/FileRefErrPos.h"

FileRefErrPos::~FileRefErrPos() {
    for (IFileRefItem* item : items) item->Release();
}

HRESULT FileRefErrPos::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) {
        *out = static_cast<IUnknown*>(this);
    } else if (iid == IID_FileRefErrPos) {
        *out = this;
    } else {
        return E_NOINTERFACE;
    }
    AddRefObj();
    return S_OK;
}

void FileRefErrPos::Append(IFileRefItem* item) {
    items.Append(item);
    item->AddRef();
    Rewind();
}

ComPtr<IFileRefItem> FileRefErrPos::Next() {
    if (!cursor) return {};
    IFileRefItem* item = cursor->value;
    cursor = cursor->next;
    return ComPtr<IFileRefItem>::Borrow(item);
}
