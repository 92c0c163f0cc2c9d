// Telling the vault's add-ins about a move or rename, before it happens (when
// they may refuse it) and after.
#pragma once

#include "GhMove.h"

#include <windows.h>

#include <cstdint>

struct IAddInHooks;

// What every notification of one run shares.
struct AddInAudience {
    IAddInHooks* hook;  // the vault object's hooks, borrowed
    HWND parent;
    const MoveRequest& request;
    const FolderPathMap& folderPaths;
    const FileNameMap& fileNames;
};

// One notification: a folder block with `folderCmd` when `folderCount` is
// positive, then a file block with `fileCmd` when `fileCount` is. Before the
// operation a refusal gives E_QOR_OPERATION_REFUSED_BY_PLUGIN. Each block's
// array holds one record per request item of its kind, which is never fewer
// than the count. Out of memory and missing record types leave as ComError.
HRESULT NotifyAddIns(const AddInAudience& audience, int32_t fileCount, int32_t folderCount, int32_t folderCmd,
                     int32_t fileCmd, bool before);
