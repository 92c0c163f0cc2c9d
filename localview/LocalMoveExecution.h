// Local move execution: after the database move, the local disk is made to
// match the plan.
#pragma once

#include "GhMove.h"
#include "localview/LocalMoveData.h"
#include "localview/MoveErrors.h"

#include <map>
#include <string>

// Lower-case old path -> the path where the local move put it.
using MovedPaths = std::map<std::wstring, std::wstring>;

// Moves what `moves` plans below `localRoot`; each failure is recorded in
// `errors` and the next entry attempted. The process's current directory
// becomes the drive root of `localRoot`.
void ExecuteLocalMoves(const std::wstring& localRoot, const Lst<LocalMoveData*>& moves, MoveErrors& errors,
                       MovedPaths& movedPaths);
