// FileRefErr: one item of the report, a file or folder that failed, as the
// report dialog sees it through the IFileRefItem family.
#pragma once

#include "GhMove.h"
#include "common/Bstr.h"
#include "common/RefObj.h"
#include "common/RefPtr.h"
#include "interfaces/FileRefReport.h"

#include <string>

class FileRefCmdDbErrors;

// How an item failed: after the local change was attempted, or refused before
// anything was done (every database failure is one).
inline constexpr int32_t kItemFailedLocally = 2;
inline constexpr int32_t kItemRefused = 3;

class FileRefErr : public IFileRefItem,
                   public IFileRefItem2,
                   public IFileRefItem3,
                   public IFileRefItemIcon,
                   public IEditableFileRefItem,
                   public RefObj {
public:
    FileRefErr() = default;

    // An item for one of the module's own error records. Items about a
    // RefFile take their place from the file when the record has none.
    static RefPtr<FileRefErr> FromEntry(const MoveErrorEntry& entry, bool cannotMode, FileRefCmdDbErrors* owner);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(AddRefObj()); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(ReleaseObj()); }

    // IFileRefItem
    HRESULT STDMETHODCALLTYPE GetChildList(ULONG, ULONG, IUnknown** position) override;
    HRESULT STDMETHODCALLTYPE GetNextChild(ULONG, ULONG, ULONG, IFileRefItem** child) override;
    HRESULT STDMETHODCALLTYPE GetChildListAgain(ULONG, ULONG, IUnknown** position) override;
    HRESULT STDMETHODCALLTYPE GetNextChildOfKind(ULONG, ULONG, ULONG, const LONG* kind,
                                                 IFileRefItem** child) override;
    HRESULT STDMETHODCALLTYPE GetStatus(ULONG, LONG* code, LONG* type, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE GetName(ULONG, BSTR* out) override;
    HRESULT STDMETHODCALLTYPE GetDisplayName(ULONG, BSTR* out) override;
    HRESULT STDMETHODCALLTYPE ItemReserved10(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ItemReserved11(ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFolder(ULONG, BSTR* out) override;
    HRESULT STDMETHODCALLTYPE ItemReserved13(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ItemReserved14(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ItemReserved15(ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ItemReserved16(ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ItemReserved17(ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ItemReserved18(ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetItemKey(BSTR* key) override;

    // IFileRefItem2
    HRESULT STDMETHODCALLTYPE Item2Reserved3(ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Item2Reserved4(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }

    // IFileRefItem3
    HRESULT STDMETHODCALLTYPE GetCommandState(LONG command, ULONG, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(LONG command, ULONG, ULONG) override;

    // IFileRefItemIcon
    HRESULT STDMETHODCALLTYPE GetIcon(VARIANT* icon) override;

    // IEditableFileRefItem
    HRESULT STDMETHODCALLTYPE EditReserved3(ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTargetFolder(ULONG, BSTR* out) override;
    HRESULT STDMETHODCALLTYPE GetFlag5(ULONG, VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE GetMoveProblem(ULONG, LONG* code, LONG* type, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE GetFlag7(ULONG, VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE GetFlag8(VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE EditSlot9(ULONG_PTR, ULONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EditReserved10(ULONG_PTR, ULONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EditReserved11(ULONG_PTR) override { return E_NOTIMPL; }

    SharedBstr message;          // the error text shown for the item
    int32_t itemType = 0;        // kItemFailedLocally or kItemRefused
    std::wstring name;           // display name
    std::wstring folder;         // local folder that holds the item
    std::wstring targetFolder;   // local folder the item was to go to
    bool isFolder = false;
    FileRefCmdDbErrors* owner = nullptr;  // not owned; null: no permission explanation
    std::wstring otherName;      // the file a non-unique name clashes with
    bool offersNonUniqueView = false;
};
