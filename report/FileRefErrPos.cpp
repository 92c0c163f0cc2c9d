#include "report/FileRefErrPos.h"

#include "common/InterfaceTable.h"

FileRefErrPos::~FileRefErrPos() {
    for (IFileRefItem* item : items) item->Release();
}

HRESULT FileRefErrPos::QueryInterface(REFIID iid, void** out) {
    return QueryInterfaceTable(*this, {{IID_IUnknown, static_cast<IUnknown*>(this)}, {IID_FileRefErrPos, this}},
                               iid, out);
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
