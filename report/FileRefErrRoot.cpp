#include "report/FileRefErrRoot.h"

#include "common/InterfaceTable.h"
#include "common/TextFormat.h"
#include "report/ReportCall.h"
#include "report/ReportText.h"

FileRefErrRoot::FileRefErrRoot(int32_t type, std::wstring counted, SharedBstr single) : singleText(std::move(single)) {
    itemType = type;
    name = std::move(counted);
}

void FileRefErrRoot::AddChild(IFileRefItem* child) {
    if (!children) children = RefPtr<FileRefErrPos>(new FileRefErrPos);
    children->Append(child);
}

// A group is only a list and an icon to the dialog.
HRESULT FileRefErrRoot::QueryInterface(REFIID iid, void** out) {
    return QueryInterfaceTable(*this,
                               {{IID_IUnknown, static_cast<IFileRefItem*>(this)},
                                {IID_IFileRefItem, static_cast<IFileRefItem*>(this)},
                                {IID_IFileRefItemIcon, static_cast<IFileRefItemIcon*>(this)}},
                               iid, out);
}

HRESULT FileRefErrRoot::GetChildList(ULONG, ULONG, IUnknown** position) {
    if (!position) return E_POINTER;
    *position = nullptr;
    if (!children) return S_FALSE;
    children->Rewind();
    children->AddRefObj();
    *position = static_cast<IUnknown*>(children.Get());
    return S_OK;
}

HRESULT FileRefErrRoot::GetNextChild(ULONG, ULONG, ULONG, IFileRefItem** child) {
    if (!child) return E_POINTER;
    *child = children ? children->Next().Detach() : nullptr;
    return *child ? S_OK : S_FALSE;
}

HRESULT FileRefErrRoot::GetStatus(ULONG, LONG* code, LONG* type, BSTR* text) {
    if (!code || !type || !text) return E_POINTER;
    return ReportCall([&] {
        *text = NewBstr(std::wstring());
        *code = kStatusError;
        *type = kItemTypeGroup;
        return S_OK;
    });
}

HRESULT FileRefErrRoot::GetDisplayName(ULONG, BSTR* out) {
    if (!out) return E_POINTER;
    return ReportCall([&] {
        const int32_t count = ChildCount();
        *out = count == 1 ? CopyText(singleText) : NewBstr(FormatText(name, {count}));
        return S_OK;
    });
}

HRESULT FileRefErrRoot::GetIcon(VARIANT* icon) {
    if (!icon) return E_POINTER;
    VariantClear(icon);
    icon->vt = VT_UI2;
    icon->uiVal = itemType == kItemRefused ? kIconRefusedGroup : kIconFailedGroup;
    return S_OK;
}
