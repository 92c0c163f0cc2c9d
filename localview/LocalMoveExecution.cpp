// Local move execution: after the database move, the local disk is made to
// match. Folders are recreated rather than moved whole: files move one by one
// and the emptied folders are removed afterwards, deepest first. Every failure
// is recorded and the next entry attempted.
#include "localview/LocalMoveExecution.h"

#include "common/HResult.h"
#include "common/PathExists.h"
#include "common/StringUtil.h"
#include "environment/ServicePipeClient.h"
#include "localview/ExistingFolders.h"
#include "localview/LocalViewAnnouncement.h"
#include "localview/MoveLocalFile.h"
#include "localview/ShellNotification.h"

#include <algorithm>
#include <cwchar>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

// The service hears of each file's new place before the file goes there.
HRESULT MoveAnnouncedFile(const LocalMoveData& entry, ExistingFolders& folders) {
    NotifyClientService(entry.newPath);
    return MoveLocalFile(entry.oldPath, entry.newPath, folders);
}

// Longest old path first, equal lengths in planning order, so that a folder's
// content is handled before the folder: the same order as inserting each entry
// before the first strictly shorter one, which a stable sort gives without a
// quadratic walk.
void SortLocalMoves(const Lst<LocalMoveData*>& moves, Lst<LocalMoveData*>& working) {
    std::vector<LocalMoveData*> entries;
    entries.reserve(static_cast<size_t>(moves.count));
    for (LocalMoveData* entry : moves) entries.push_back(entry);
    std::stable_sort(entries.begin(), entries.end(), [](const LocalMoveData* a, const LocalMoveData* b) {
        return a->oldPath.size() > b->oldPath.size();
    });
    for (LocalMoveData* entry : entries) working.Append(entry);
}

// A folder that still holds something (a file whose move failed) reports
// ERROR_DIR_NOT_EMPTY; one that is already gone reports nothing.
void RemoveEmptiedFolders(Lst<LocalMoveData*>& removals, MoveErrors& errors) {
    while (!removals.Empty()) {
        const LocalMoveData* entry = removals.head->value;
        removals.Remove(removals.head);
        NotifyClientService(entry->oldPath);
        if (RemoveDirectoryW(entry->oldPath.c_str())) continue;
        const DWORD error = GetLastError();
        if (PathExists(entry->oldPath)) errors.Add(entry->oldPath, entry->newPath, HResultFromWin32(error));
    }
}

}  // namespace

void ExecuteLocalMoves(const std::wstring& localRoot, const Lst<LocalMoveData*>& moves, MoveErrors& errors,
                       MovedPaths& movedPaths) {
    Lst<LocalMoveData*> working;
    SortLocalMoves(moves, working);
    AnnounceLocalMoves(localRoot, working);
    // The current directory is the whole process's, and a folder that is one
    // cannot be removed: it goes to the drive root, which outlives every move,
    // and stays there. The module itself only works with full paths.
    SetCurrentDirectoryW(DriveRootOf(localRoot + L"\\").c_str());

    // A file planned several times is gone after its first successful move,
    // so its later copies are skipped without asking the disk, where a miss
    // can cost a scan of the whole folder. A change of case only leaves the
    // file findable under its old name, so such a path stays tested.
    std::unordered_set<std::wstring_view> movedAway;  // views of the planned paths
    ExistingFolders folders;
    Lst<LocalMoveData*> removals;
    for (LocalMoveData* entry : working) {
        // An earlier entry already moved it, or it vanished.
        if (movedAway.count(entry->oldPath) || !PathExists(entry->oldPath)) continue;
        // A folder's own entry asks the disk, so that an empty folder removed
        // meanwhile is still made.
        const HRESULT hr = entry->isFolder ? folders.EnsureOnDisk(entry->newPath) : MoveAnnouncedFile(*entry, folders);
        if (FAILED(hr)) {
            errors.Add(entry->oldPath, entry->newPath, hr);
            continue;
        }
        if (entry->isFolder) {
            removals.Append(entry);
        } else if (_wcsicmp(entry->oldPath.c_str(), entry->newPath.c_str()) != 0) {
            movedAway.insert(entry->oldPath);
        }
        movedPaths[LowerCase(entry->oldPath)] = entry->newPath;
    }
    RemoveEmptiedFolders(removals, errors);
    NotifyShellOfFolders(localRoot, working, errors.List());
}

