// The driver: one move or rename from the host's request to the result.
// Everything that can refuse the operation is checked before the host changes
// the vault database; the local disk changes only after that succeeded.
#include "move/Mover.h"

#include "common/ComPtr.h"
#include "common/TextFormat.h"
#include "filerefs/FileFormatLoader.h"
#include "interfaces/AddInHooks.h"
#include "localview/FileTime.h"
#include "module/Translate.h"
#include "report/ErrorText.h"

#include <cwchar>
#include <map>
#include <set>

namespace {

// True when the process hosting the module is the CAD application itself.
bool IsInsideCad() {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    _wcslwr_s(path);
    return wcsstr(path, L"brimwork.exe") != nullptr;
}

}  // namespace

HRESULT Mover::Run() {
    // A request the module cannot read safely is refused as it came.
    HRESULT hr = CheckRequest();
    if (FAILED(hr)) return hr;

    // Start from empty output lists; collect every identifier that needs a name.
    EmptyOutputLists();
    FolderPathMap folderPaths;
    FileNameMap fileNames;
    const OperationCounts counts = CollectIdentifiers(folderPaths, fileNames);

    // The host resolves identifiers into paths below localRoot and names.
    hr = host->ResolveNames(folderPaths, fileNames);
    if (FAILED(hr)) return hr;

    // Every new name must be acceptable.
    if (!ValidateNames(folderPaths, fileNames)) return S_FALSE;

    // The add-ins may veto.
    const auto hook = ComPtr<IAddInHooks>::Query(request->vault, IID_IAddInHooks);
    if (hook) {
        hook->PrepareHooks();
        hr = NotifyAddInsBefore(hook.Get(), counts, folderPaths, fileNames, hr);
        if (FAILED(hr)) {
            if (!silent && hr != E_QOR_OPERATION_REFUSED_BY_PLUGIN) ShowAddInError(hr);
            return hr;
        }
    }

    // Plan the local moves; existing targets refuse the operation.
    PlanLocalMoves(fileNames, folderPaths);
    if (!request->errors.Empty()) {
        Report(Msg::TargetsAlreadyExist, true);
        return S_FALSE;
    }

    // So do two sources with one target.
    if (RecordSharedTargets()) {
        Report(Msg::SharedTargets, true);
        return S_FALSE;
    }

    // Nor may a path that the file operations cannot take reach them.
    if (RecordUnworkablePaths()) {
        Report(LocalFailureSentence(), true);
        return request->errors.head->value->code;
    }

    // Without the file-format manager nothing may change.
    FileFormatLoader loader;
    FileFormatMgr* manager = loader.LocateLibrary() ? loader.GetManager() : nullptr;
    if (!manager) return E_QOR_MISSING_ORAVANE_MODULE;

    // No file that must move or be rewritten may be held by another process.
    CheckLocalMovesWritable();
    const bool insideCad = IsInsideCad();
    const DWORD processId = GetCurrentProcessId();
    host->ListReferenceUpdates(request);
    hr = CheckListedReferences();
    if (FAILED(hr)) return hr;
    CheckReferenceFilesFree(insideCad, processId);
    if (!request->errors.Empty()) {
        Report(LocalFailureSentence(), false);
        return E_QOR_FILE_SHARE_ERROR;
    }

    // The host changes the vault database.
    hr = host->MoveInDatabase(request);
    if (FAILED(hr)) {
        if (!silent) ShowErrorBox(Translate(DatabaseFailureSentence()) + L"\n" + ErrorText(hr).Text());
        return hr;
    }
    if (!request->dbErrors.Empty()) {
        Report(DatabaseFailureSentence(), true);
        return S_FALSE;
    }
    HRESULT pending = hr;

    // The local disk follows the database.
    MovedPaths movedPaths;
    ExecuteLocalMoves(movedPaths);

    // References inside the affected files, then their modification times.
    SavedTimes savedTimes;
    RewriteReferences(movedPaths, savedTimes, pending, manager);
    for (const auto& [path, time] : savedTimes) SetLastWriteTime(path, time);

    // The add-ins hear that it happened.
    if (hook) {
        hr = NotifyAddInsAfter(hook.Get(), counts, folderPaths, fileNames, pending);
        if (FAILED(hr)) {
            if (!silent) ShowAddInError(hr);
            return hr;
        }
    }

    // What failed locally is reported; a rename reports it in its result too.
    if (silent) return S_OK;
    if (!request->errors.Empty() || !request->refErrors.Empty()) {
        Report(LocalFailureSentence(), false);
        return IsRename() ? E_QOR_FILE_SHARE_ERROR : S_OK;
    }
    return S_OK;
}

Mover::OperationCounts Mover::CollectIdentifiers(FolderPathMap& folderPaths, FileNameMap& fileNames) const {
    OperationCounts counts;
    for (const MoveItem* item : request->items) {
        folderPaths[item->destFolderId];
        folderPaths[item->folderId];
        if (item->fileId != 0) {
            fileNames[item->fileId];
            if (item->destFolderId != item->folderId) ++counts.movedFiles;
            if (!item->newName.empty()) ++counts.renamedFiles;
        } else if (!item->newName.empty()) {
            ++counts.renamedFolders;
        } else {
            ++counts.movedFolders;
        }
    }
    for (const LocalItem* item : request->localItems) {
        if (item->destFolderId != 0 && item->newPath.empty()) folderPaths[item->destFolderId];
    }
    return counts;
}

// Two different sources with one target are refused even when the target does
// not exist yet. Each target is reported once for its first-seen source, and
// once for every later source. Sets stand in for the list walks of the
// original rule; the entries and their order are the same.
bool Mover::RecordSharedTargets() {
    std::map<std::wstring, const LocalMoveData*> targets;
    std::set<std::wstring> reported;
    for (const LocalMoveData* d : localMoves) {
        const auto [found, inserted] = targets.emplace(d->newPath, d);
        if (inserted) continue;
        const LocalMoveData* first = found->second;
        if (d->oldPath == first->oldPath) continue;
        AddError(d->oldPath, d->newPath, E_QOR_NAME_ALREADY_EXISTS);
        if (reported.insert(first->newPath).second) {
            AddError(first->oldPath, first->newPath, E_QOR_NAME_ALREADY_EXISTS);
        }
    }
    return !request->errors.Empty();
}

void Mover::Report(Msg sentence, bool cannotMode) {
    if (!silent) ShowMoveErrors(Translate(sentence), cannotMode);
}

void Mover::ShowErrorBox(const std::wstring& text) const {
    MessageBoxW(hwndParent, text.c_str(), Caption().c_str(), MB_ICONERROR);
}

void Mover::ShowAddInError(HRESULT hr) const {
    ShowErrorBox(FormatText(Translate(Msg::AddInError), {ErrorText(hr).Text()}));
}

Msg Mover::LocalFailureSentence() const {
    return IsRename() ? Msg::ItemNotRenamedLocally : Msg::ItemsNotMovedLocally;
}

Msg Mover::DatabaseFailureSentence() const { return IsRename() ? Msg::ItemNotRenamed : Msg::ItemsNotMoved; }
