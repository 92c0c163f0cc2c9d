// FileRefErrRoot: a group of the report, one per kind of failure, whose text
// counts its children.
#pragma once

#include "report/FileRefErr.h"
#include "report/FileRefErrPos.h"

#include <string>

class FileRefErrRoot : public FileRefErr {
public:
    // `counted` holds one "%d" for the number of children (or none at all);
    // `single` is shown instead when there is exactly one child.
    FileRefErrRoot(int32_t type, std::wstring counted, SharedBstr single);

    // Holds a reference to `child` and reads from the first child again.
    void AddChild(IFileRefItem* child);
    int32_t ChildCount() const { return children ? children->Count() : 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetChildList(ULONG, ULONG, IUnknown** position) override;
    HRESULT STDMETHODCALLTYPE GetNextChild(ULONG, ULONG, ULONG, IFileRefItem** child) override;
    HRESULT STDMETHODCALLTYPE GetStatus(ULONG, LONG* code, LONG* type, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE GetDisplayName(ULONG, BSTR* out) override;
    HRESULT STDMETHODCALLTYPE GetIcon(VARIANT* icon) override;

    RefPtr<FileRefErrPos> children;  // empty until the first child is added
    SharedBstr singleText;
};
