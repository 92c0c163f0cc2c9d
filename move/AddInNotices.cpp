// The add-ins hear of the operation before it happens, when they may refuse
// it, and again after it.
#include "move/Mover.h"

#include "filerefs/AddInNotification.h"
#include "interfaces/AddInHooks.h"

HRESULT Mover::NotifyAddIns(IAddInHooks* hook, int32_t fileCount, int32_t folderCount, const FolderPathMap& folderPaths,
                            const FileNameMap& fileNames, int32_t folderCmd, int32_t fileCmd, bool before) {
    const AddInAudience audience{hook, hwndParent, *request, folderPaths, fileNames};
    return ::NotifyAddIns(audience, fileCount, folderCount, folderCmd, fileCmd, before);
}

// `hr` is the non-negative result of resolving the names; it stands when no
// notification runs.
HRESULT Mover::NotifyAddInsBefore(IAddInHooks* hook, const OperationCounts& counts, const FolderPathMap& folderPaths,
                                  const FileNameMap& fileNames, HRESULT hr) {
    if (counts.movedFiles > 0 || counts.movedFolders > 0) {
        hr = NotifyAddIns(hook, counts.movedFiles, counts.movedFolders, folderPaths, fileNames, kAddInFolderMoveBefore,
                          kAddInFileMoveBefore, true);
    }
    if (SUCCEEDED(hr) && (counts.renamedFiles > 0 || counts.renamedFolders > 0)) {
        hr = NotifyAddIns(hook, counts.renamedFiles, counts.renamedFolders, folderPaths, fileNames,
                          kAddInFolderRenameBefore, kAddInFileRenameBefore, true);
    }
    return hr;
}

// Both notifications run; the first failure wins.
HRESULT Mover::NotifyAddInsAfter(IAddInHooks* hook, const OperationCounts& counts, const FolderPathMap& folderPaths,
                                 const FileNameMap& fileNames, HRESULT pending) {
    HRESULT result = pending;
    if (counts.movedFiles > 0 || counts.movedFolders > 0) {
        result = NotifyAddIns(hook, counts.movedFiles, counts.movedFolders, folderPaths, fileNames,
                              kAddInFolderMoveAfter, kAddInFileMoveAfter, false);
    }
    if (counts.renamedFiles > 0 || counts.renamedFolders > 0) {
        const HRESULT renamed = NotifyAddIns(hook, counts.renamedFiles, counts.renamedFolders, folderPaths, fileNames,
                                             kAddInFolderRenameAfter, kAddInFileRenameAfter, false);
        if (SUCCEEDED(result)) result = renamed;
    }
    return result;
}

