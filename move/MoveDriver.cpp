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
#include <optional>
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

struct Mover::Accepted {
    FolderPathMap folderPaths;
    FileNameMap fileNames;
    OperationCounts counts;
    ComPtr<IAddInHooks> hook;  // empty when the vault has no add-ins
    FileFormatLoader loader;
    FileFormatMgr* manager = nullptr;
};

HRESULT Mover::Run() {
    Accepted accepted;
    if (const std::optional<HRESULT> refusal = RefuseBeforeChanging(accepted)) return *refusal;
    return ChangeDatabaseAndDisk(accepted);
}

std::optional<HRESULT> Mover::RefuseBeforeChanging(Accepted& accepted) {
    // A request the module cannot read safely is refused as it came.
    HRESULT hr = CheckRequest();
    if (FAILED(hr)) return hr;

    EmptyOutputLists();
    accepted.counts = CollectIdentifiers(accepted.folderPaths, accepted.fileNames);
    // The host resolves identifiers into paths below localRoot and names.
    hr = host->ResolveNames(accepted.folderPaths, accepted.fileNames);
    if (FAILED(hr)) return hr;
    if (!ValidateNames(accepted.folderPaths, accepted.fileNames)) return S_FALSE;

    if (const auto veto = AddInVeto(accepted, hr)) return veto;
    if (const auto conflict = RefusePlannedMoves(accepted)) return conflict;
    // Without the file-format manager nothing may change.
    accepted.manager = accepted.loader.LocateLibrary() ? accepted.loader.GetManager() : nullptr;
    if (!accepted.manager) return E_QOR_MISSING_ORAVANE_MODULE;
    return RefuseHeldFiles();
}

std::optional<HRESULT> Mover::AddInVeto(Accepted& accepted, HRESULT resolved) {
    accepted.hook = ComPtr<IAddInHooks>::Query(request->vault, IID_IAddInHooks);
    if (!accepted.hook) return std::nullopt;
    accepted.hook->PrepareHooks();
    const HRESULT hr =
        NotifyAddInsBefore(accepted.hook.Get(), accepted.counts, accepted.folderPaths, accepted.fileNames, resolved);
    if (SUCCEEDED(hr)) return std::nullopt;
    if (!silent && hr != E_QOR_OPERATION_REFUSED_BY_PLUGIN) ShowAddInError(hr);
    return hr;
}

// Targets that exist, two sources with one target, and paths that the file
// operations cannot take.
std::optional<HRESULT> Mover::RefusePlannedMoves(const Accepted& accepted) {
    PlanLocalMoves(accepted.fileNames, accepted.folderPaths);
    if (!request->errors.Empty()) {
        Report(Msg::TargetsAlreadyExist, true);
        return S_FALSE;
    }
    if (RecordSharedTargets()) {
        Report(Msg::SharedTargets, true);
        return S_FALSE;
    }
    if (RecordUnworkablePaths()) {
        Report(LocalFailureSentence(), true);
        return request->errors.head->value->code;
    }
    return std::nullopt;
}

// No file that must move or be rewritten may be held by another process.
std::optional<HRESULT> Mover::RefuseHeldFiles() {
    CheckLocalMovesWritable();
    const bool insideCad = IsInsideCad();
    const DWORD processId = GetCurrentProcessId();
    host->ListReferenceUpdates(request);
    const HRESULT hr = CheckListedReferences();
    if (FAILED(hr)) return hr;
    CheckReferenceFilesFree(insideCad, processId);
    if (request->errors.Empty()) return std::nullopt;
    Report(LocalFailureSentence(), false);
    return E_QOR_FILE_SHARE_ERROR;
}

// The local disk follows the database; the add-ins hear of it at the end.
HRESULT Mover::ChangeDatabaseAndDisk(const Accepted& accepted) {
    HRESULT pending = S_OK;
    if (const auto failure = MoveInDatabase(pending)) return *failure;
    MovedPaths movedPaths;
    ExecuteLocalMoves(movedPaths);
    UpdateReferences(movedPaths, pending, accepted.manager);
    if (const auto failure = TellAddInsAfter(accepted, pending)) return *failure;
    return ReportLocalFailures();
}

// `pending` becomes the host's success code.
std::optional<HRESULT> Mover::MoveInDatabase(HRESULT& pending) {
    const HRESULT hr = host->MoveInDatabase(request);
    if (FAILED(hr)) {
        if (!silent) ShowErrorBox(Translate(DatabaseFailureSentence()) + L"\n" + ErrorText(hr).Text());
        return hr;
    }
    if (!request->dbErrors.Empty()) {
        Report(DatabaseFailureSentence(), true);
        return S_FALSE;
    }
    pending = hr;
    return std::nullopt;
}

// References inside the affected files, then their modification times.
void Mover::UpdateReferences(const MovedPaths& movedPaths, HRESULT& pending, FileFormatMgr* manager) {
    SavedTimes savedTimes;
    RewriteReferences(movedPaths, savedTimes, pending, manager);
    for (const auto& [path, time] : savedTimes) SetLastWriteTime(path, time);
}

std::optional<HRESULT> Mover::TellAddInsAfter(const Accepted& accepted, HRESULT pending) {
    if (!accepted.hook) return std::nullopt;
    const HRESULT hr =
        NotifyAddInsAfter(accepted.hook.Get(), accepted.counts, accepted.folderPaths, accepted.fileNames, pending);
    if (SUCCEEDED(hr)) return std::nullopt;
    if (!silent) ShowAddInError(hr);
    return hr;
}

// What failed locally is reported; a rename reports it in its result too.
HRESULT Mover::ReportLocalFailures() {
    if (silent || (request->errors.Empty() && request->refErrors.Empty())) return S_OK;
    Report(LocalFailureSentence(), false);
    return IsRename() ? E_QOR_FILE_SHARE_ERROR : S_OK;
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
// once for every later source. Sets find earlier targets in log time where
// walks over the list would be quadratic; the entries and their order are
// the same.
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
