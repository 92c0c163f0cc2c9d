#include "report/FileRefErr.h"

#include "common/InterfaceTable.h"
#include "common/PathExists.h"
#include "common/StringUtil.h"
#include "common/TextFormat.h"
#include "module/Translate.h"
#include "report/ErrorText.h"
#include "report/FileRefCmdDbErrors.h"
#include "report/ReportCall.h"
#include "report/ReportedMove.h"
#include "report/ReportText.h"

#include <vector>

namespace {

// For an in/out text: the caller's string is freed once the new one exists.
void ReplaceText(BSTR* text, BSTR fresh) {
    SysFreeString(*text);
    *text = fresh;
}

}  // namespace

RefPtr<FileRefErr> FileRefErr::FromEntry(const MoveErrorEntry& entry, bool cannotMode, FileRefCmdDbErrors* owner) {
    RefPtr<FileRefErr> item(new FileRefErr);
    item->itemType = cannotMode ? kItemRefused : kItemFailedLocally;
    item->owner = owner;
    item->name = entry.detail.empty() ? FileNamePart(entry.newPath) : entry.detail;
    item->targetFolder = ParentFolder(entry.newPath);
    item->folder = ParentFolder(entry.path);
    item->message = ErrorText(entry.code);
    if (!entry.refFile) {
        item->isFolder = IsFolder(entry.path);
    } else {
        if (item->folder.empty()) item->folder = entry.refFile->oldPath;
        if (item->name.empty()) item->name = FileNamePart(entry.refFile->oldPath);
    }
    return item;
}

// IUnknown is always answered with the same interface pointer.
HRESULT FileRefErr::QueryInterface(REFIID iid, void** out) {
    return QueryInterfaceTable(*this,
                               {{IID_IUnknown, static_cast<IFileRefItem*>(this)},
                                {IID_IFileRefItem, static_cast<IFileRefItem*>(this)},
                                {IID_IFileRefItem2, static_cast<IFileRefItem2*>(this)},
                                {IID_IFileRefItem3, static_cast<IFileRefItem3*>(this)},
                                {IID_IFileRefItemIcon, static_cast<IFileRefItemIcon*>(this)},
                                {IID_IEditableFileRefItem, static_cast<IEditableFileRefItem*>(this)}},
                               iid, out);
}

HRESULT FileRefErr::GetChildList(ULONG, ULONG, IUnknown** position) {
    if (position) *position = nullptr;
    return S_FALSE;
}

HRESULT FileRefErr::GetNextChild(ULONG, ULONG, ULONG, IFileRefItem** child) {
    if (child) *child = nullptr;
    return S_FALSE;
}

HRESULT FileRefErr::GetChildListAgain(ULONG unused1, ULONG unused2, IUnknown** position) {
    return GetChildList(unused1, unused2, position);
}

// Other kinds of children are the dialog's; they leave `child` untouched.
HRESULT FileRefErr::GetNextChildOfKind(ULONG unused1, ULONG unused2, ULONG unused3, const LONG* kind,
                                       IFileRefItem** child) {
    if (!kind || *kind != kChildKindItem) return S_FALSE;
    return GetNextChild(unused1, unused2, unused3, child);
}

HRESULT FileRefErr::GetStatus(ULONG, LONG* code, LONG* type, BSTR* text) {
    if (!code || !type || !text) return E_POINTER;
    return ReportCall([&] {
        *text = CopyText(message);
        *code = kStatusError;
        *type = itemType;
        return S_OK;
    });
}

HRESULT FileRefErr::GetName(ULONG, BSTR* out) {
    if (!out) return E_POINTER;
    return ReportCall([&] {
        *out = NewBstr(name);
        return S_OK;
    });
}

HRESULT FileRefErr::GetDisplayName(ULONG unused, BSTR* out) { return FileRefErr::GetName(unused, out); }

HRESULT FileRefErr::GetFolder(ULONG, BSTR* out) {
    if (!out) return E_POINTER;
    return ReportCall([&] {
        *out = NewBstr(folder);
        return S_OK;
    });
}

HRESULT FileRefErr::GetItemKey(BSTR* key) {
    if (!key) return E_POINTER;
    return ReportCall([&] {
        *key = NewBstr(FormatText(L"%p", {static_cast<const void*>(this)}));
        return S_OK;
    });
}

HRESULT FileRefErr::GetCommandState(LONG command, ULONG, VARIANT* state) {
    if (!state) return E_POINTER;
    if (FAILED(VariantClear(state))) return S_FALSE;
    if (command == kCommandNonUniqueFiles && offersNonUniqueView) {
        state->vt = VT_BOOL;
        state->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

HRESULT FileRefErr::InvokeCommand(LONG command, ULONG, ULONG) {
    if (command != kCommandNonUniqueFiles || itemType == 0 || !offersNonUniqueView || !owner) return S_OK;
    return ReportCall([&] {
        const std::vector<std::wstring> paths{folder + L"\\" + name};
        const std::vector<std::wstring> otherPaths{folder + L"\\" + otherName};
        owner->mover->ShowNonUniqueFiles(&paths, &otherPaths);
        return S_OK;
    });
}

HRESULT FileRefErr::GetIcon(VARIANT* icon) {
    if (!icon) return E_POINTER;
    VariantClear(icon);
    if (!isFolder) return S_FALSE;
    icon->vt = VT_UI2;
    icon->uiVal = kIconFolder;
    return S_OK;
}

HRESULT FileRefErr::GetTargetFolder(ULONG, BSTR* out) {
    if (!out) return E_POINTER;
    return ReportCall([&] {
        *out = NewBstr(targetFolder);
        return S_OK;
    });
}

HRESULT FileRefErr::GetFlag5(ULONG, VARIANT_BOOL* flag) {
    if (!flag) return E_POINTER;
    *flag = VARIANT_TRUE;
    return S_OK;
}

HRESULT FileRefErr::GetFlag7(ULONG, VARIANT_BOOL* flag) {
    if (!flag) return E_POINTER;
    *flag = VARIANT_FALSE;
    return S_OK;
}

HRESULT FileRefErr::GetFlag8(VARIANT_BOOL* flag) {
    if (!flag) return E_POINTER;
    *flag = VARIANT_TRUE;
    return S_OK;
}

// A non-unique name explains itself; reference failures have no owner and
// explain nothing; every other item asks its owner which permission is missing.
HRESULT FileRefErr::GetMoveProblem(ULONG, LONG* code, LONG* type, BSTR* text) {
    return ReportCall([&] {
        if (offersNonUniqueView) {
            if (text) ReplaceText(text, CopyText(message));
            if (code) *code = kStatusNonUnique;
            if (type) *type = itemType;
            return S_OK;
        }
        if (!owner) return S_OK;
        const Msg problem = owner->MovePermissionProblem(*this);
        if (text) {
            ReplaceText(text, NewBstr(Translate(problem)));
            if (code) *code = kStatusError;
        }
        return S_OK;
    });
}
