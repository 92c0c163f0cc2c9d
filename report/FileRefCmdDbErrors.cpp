#include "report/FileRefCmdDbErrors.h"

#include "common/Handles.h"
#include "common/InterfaceTable.h"
#include "environment/FolderRights.h"
#include "report/FileRefErr.h"
#include "report/FileRefErrPos.h"
#include "report/MoveProblem.h"
#include "report/ReportCall.h"
#include "report/ReportedMove.h"
#include "report/ReportText.h"

#include <iterator>

namespace {

// The columns the dialog shows, and how it shows them.
constexpr LONG kColumns[] = {0, 1, 2, 4, 25};
constexpr LONG kColumnFlags = 0x18C00;

}  // namespace

FileRefCmdDbErrors::FileRefCmdDbErrors(MoveRequest* request_, ReportedMove* mover_, const std::wstring& description_,
                                       bool cannotMode_)
    : request(request_), cannotMode(cannotMode_), description(SharedBstr(description_)), mover(mover_) {
    OpenPermissionConnection();
}

FileRefCmdDbErrors::~FileRefCmdDbErrors() = default;

int FileRefCmdDbErrors::OpenPermissionConnection() {
    permissions = ::OpenPermissionConnection(request->localRoot);
    return permissions ? 0 : 1;
}

// Rights are read afresh for every explanation.
Msg FileRefCmdDbErrors::MovePermissionProblem(const FileRefErr& item) const {
    const FolderRights rights(permissions.Get(), request->vault, request->hostContext);
    return MoveProblem(item.isFolder, item.folder, item.targetFolder,
                       [&rights](const std::wstring& folder) { return rights.Of(folder); });
}

HRESULT FileRefCmdDbErrors::QueryInterface(REFIID iid, void** out) {
    return QueryInterfaceTable(*this,
                               {{IID_IUnknown, static_cast<IFileRefCmd*>(this)},
                                {IID_IFileRefCmd, static_cast<IFileRefCmd*>(this)}},
                               iid, out);
}

// Both arrays hold the same columns; the second is a copy of the first.
HRESULT FileRefCmdDbErrors::GetColumns(SAFEARRAY** columns, SAFEARRAY** shownColumns, LONG* flags) {
    if (!columns || !shownColumns || !flags) return E_POINTER;
    UniqueSafeArray first(SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(std::size(kColumns))));
    if (!first) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(std::size(kColumns)); ++i) {
        LONG column = kColumns[i];
        const HRESULT hr = SafeArrayPutElement(first.Get(), &i, &column);
        if (FAILED(hr)) return hr;
    }
    UniqueSafeArray second;
    const HRESULT hr = SafeArrayCopy(first.Get(), second.Put());
    if (FAILED(hr)) return hr;
    *columns = first.Detach();
    *shownColumns = second.Detach();
    *flags = kColumnFlags;
    return S_OK;
}

HRESULT FileRefCmdDbErrors::GetTopLevel(ULONG, IUnknown** position) {
    if (!position) return E_POINTER;
    return ReportCall([&] {
        const RefPtr<FileRefErrPos> top = BuildTree();
        top->AddRefObj();
        *position = static_cast<IUnknown*>(top.Get());
        return S_OK;
    });
}

// Only a position of this module answers its private identity.
HRESULT FileRefCmdDbErrors::GetNext(ULONG, IUnknown* position, IFileRefItem** item) {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (!position) return E_POINTER;
    void* identity = nullptr;
    const HRESULT hr = position->QueryInterface(IID_FileRefErrPos, &identity);
    if (FAILED(hr)) return hr;
    const auto list = RefPtr<FileRefErrPos>::Attach(static_cast<FileRefErrPos*>(identity));
    *item = list->Next().Detach();
    return *item ? S_OK : S_FALSE;
}

HRESULT FileRefCmdDbErrors::GetText(LONG number, BSTR* text) {
    if (!text) return E_POINTER;
    return ReportCall([&] {
        switch (number) {
            case kTextCaption: *text = NewBstr(mover->Caption()); break;
            case kTextDescription: *text = CopyText(description); break;
            default: *text = NewBstr(std::wstring()); break;
        }
        return S_OK;
    });
}
