// Local move planning: every file and folder that must move in the local
// view, in the order and with the repetitions that execution relies on.
#pragma once

#include "GhMove.h"
#include "localview/LocalMoveData.h"
#include "localview/MoveErrors.h"

// Appends the plan to `moves`. A target that is already taken gets an
// E_QOR_NAME_ALREADY_EXISTS entry, a new name that is refused an
// E_QOR_INVALID_NAME one. A local item without a new path gets one in the
// request from its destination folder.
void PlanLocalMoves(MoveRequest& request, const FileNameMap& fileNames, const FolderPathMap& folderPaths,
                    Lst<LocalMoveData*>& moves, MoveErrors& errors);
