// The report tree: the request's three failure lists grouped, counted and
// worded. Each call builds a new tree; the lists are only read.
#include "common/StringUtil.h"
#include "module/Translate.h"
#include "report/ErrorText.h"
#include "report/FileRefCmdDbErrors.h"
#include "report/FileRefErrRoot.h"

#include <cwchar>
#include <iterator>
#include <map>

namespace {

// Database failure kinds 1 to 4: the item's text, the group's counted text
// and its text for a single item.
struct NamedKind {
    Msg item;
    Msg counted;
    Msg single;
};
constexpr NamedKind kNamedKinds[] = {
    {Msg::ItemDoesNotExist, Msg::ItemsDoNotExist, Msg::OneItemDoesNotExist},
    {Msg::CheckedOutElsewhere, Msg::FilesCheckedOut, Msg::OneFileCheckedOut},
    {Msg::NoMovePermission, Msg::NoPermissionFiles, Msg::NoPermissionOneFile},
    {Msg::SameNameExists, Msg::NamesAlreadyUsed, Msg::OneNameAlreadyUsed},
};
constexpr int32_t kFirstNamedKind = 1;

// Kinds 5 to 12 are told by the error text of a result code, items and group
// alike; any other kind is unknown and told by the text of E_FAIL.
constexpr HRESULT kCodedKinds[] = {
    static_cast<HRESULT>(0x8004029C),  // E_QOR_CANT_MOVE_FOLDER_TO_SUBFOLDER
    static_cast<HRESULT>(0x80040286),  // E_QOR_FILE_NAME_NOT_GLOBALLY_UNIQUE
    static_cast<HRESULT>(0x80040271),  // E_QOR_PATH_TOO_LONG
    static_cast<HRESULT>(0x800402B0),  // E_QOR_LOCKED_IN_OTHER_FOLDER
    static_cast<HRESULT>(0x800402B1),  // E_QOR_PARENT_LOCKED_ELSEWHERE
    static_cast<HRESULT>(0x800402C8),  // E_ITEM_ILLEGAL_MOVE_REFERENCED_BY_EXTERNAL
    static_cast<HRESULT>(0x800402C9),  // E_ITEM_ILLEGAL_RENAME_REFERENCED_BY_EXTERNAL
    static_cast<HRESULT>(0x800402E4),  // E_QOR_MOVE_FILE_PERMISSION_DENIED
};
constexpr int32_t kFirstCodedKind = 5;

constexpr int32_t kNoPermission = 3;
constexpr int32_t kNonUniqueName = 6;

const NamedKind* FindNamedKind(int32_t kind) {
    const int64_t index = static_cast<int64_t>(kind) - kFirstNamedKind;
    return index >= 0 && index < static_cast<int64_t>(std::size(kNamedKinds)) ? &kNamedKinds[index] : nullptr;
}

// The code behind a kind that is not named; E_FAIL for an unknown one.
HRESULT CodeOfKind(int32_t kind) {
    const int64_t index = static_cast<int64_t>(kind) - kFirstCodedKind;
    return index >= 0 && index < static_cast<int64_t>(std::size(kCodedKinds)) ? kCodedKinds[index] : E_FAIL;
}

RefPtr<FileRefErrRoot> NewGroup(int32_t type, Msg counted, Msg single) {
    return RefPtr<FileRefErrRoot>(new FileRefErrRoot(type, Translate(counted), SharedBstr(Translate(single))));
}

RefPtr<FileRefErrRoot> DatabaseGroup(int32_t kind) {
    if (const NamedKind* named = FindNamedKind(kind)) return NewGroup(kItemRefused, named->counted, named->single);
    const HRESULT code = CodeOfKind(kind);
    if (code == E_FAIL) return NewGroup(kItemRefused, Msg::UnknownErrors, Msg::OneUnknownError);
    const SharedBstr text = ErrorText(code);  // no "%d": the same sentence whatever the count
    return RefPtr<FileRefErrRoot>(new FileRefErrRoot(kItemRefused, text.Text(), text));
}

SharedBstr DatabaseItemText(const DbMoveError& failure) {
    if (failure.kind == kNoPermission && _wcsicmp(failure.newFolder.c_str(), failure.oldFolder.c_str()) == 0) {
        return SharedBstr(Translate(Msg::NoRenamePermission));
    }
    if (const NamedKind* named = FindNamedKind(failure.kind)) return SharedBstr(Translate(named->item));
    return ErrorText(CodeOfKind(failure.kind));
}

// Folders come relative to the local root. A folder item is named after the
// last component of its own path and placed in the parent folder.
RefPtr<FileRefErr> DatabaseItem(const DbMoveError& failure, const std::wstring& localRoot,
                                FileRefCmdDbErrors* owner) {
    RefPtr<FileRefErr> item(new FileRefErr);
    item->itemType = kItemRefused;
    item->isFolder = failure.fileId == 0;
    item->owner = owner;
    item->message = DatabaseItemText(failure);
    if (failure.kind == kNonUniqueName) {
        item->otherName = failure.conflictName;
        item->offersNonUniqueView = true;
    }
    item->folder = localRoot + failure.oldFolder;
    item->targetFolder = StripTrailingBackslashes(localRoot + failure.newFolder);
    if (item->isFolder) {
        item->name = StripTrailingBackslashes(FileNamePart(item->folder));
        const auto parentLength =
            static_cast<int64_t>(item->folder.size()) - static_cast<int64_t>(item->name.size()) - 1;
        item->folder.resize(parentLength > 0 ? static_cast<size_t>(parentLength) : 0);
    } else {
        item->name = failure.itemName;
    }
    item->folder = StripTrailingBackslashes(item->folder);
    return item;
}

}  // namespace

RefPtr<FileRefErrPos> FileRefCmdDbErrors::BuildTree() {
    RefPtr<FileRefErrPos> top(new FileRefErrPos);
    AddDatabaseFailures(*top);
    AddModuleFailures(*top, request->errors, true,
                      cannotMode ? Msg::ItemsCannotMoveLocally : Msg::ItemsCouldNotMoveLocally,
                      cannotMode ? Msg::OneItemCannotMoveLocally : Msg::OneItemCouldNotMoveLocally);
    // Reference failures offer no permission explanation: their items have no owner.
    AddModuleFailures(*top, request->refErrors, false, Msg::ReferencesNotUpdatedFiles,
                      Msg::ReferencesNotUpdatedOneFile);
    return top;
}

// One group per kind, in the order in which each kind first occurs. The host
// fills the list; a null element in it tells nothing and is passed over.
void FileRefCmdDbErrors::AddDatabaseFailures(FileRefErrPos& top) {
    std::map<int32_t, RefPtr<FileRefErrRoot>> groups;
    for (const DbMoveError* failure : request->dbErrors) {
        if (!failure) continue;
        const RefPtr<FileRefErr> item = DatabaseItem(*failure, request->localRoot, this);
        auto [group, isNew] = groups.try_emplace(failure->kind);
        if (isNew) {
            group->second = DatabaseGroup(failure->kind);
            top.Append(group->second.Get());
        }
        group->second->AddChild(item.Get());
    }
}

// At most one group, built with the first entry.
void FileRefCmdDbErrors::AddModuleFailures(FileRefErrPos& top, const Lst<MoveErrorEntry*>& entries, bool withOwner,
                                           Msg counted, Msg single) {
    RefPtr<FileRefErrRoot> group;
    for (const MoveErrorEntry* entry : entries) {
        if (!entry) continue;
        const RefPtr<FileRefErr> item = FileRefErr::FromEntry(*entry, cannotMode, withOwner ? this : nullptr);
        if (!group) {
            group = NewGroup(cannotMode ? kItemRefused : kItemFailedLocally, counted, single);
            top.Append(group.Get());
        }
        group->AddChild(item.Get());
    }
}
