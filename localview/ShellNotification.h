// What the shell hears after the local moves.
#pragma once

#include "GhMove.h"
#include "localview/LocalMoveData.h"

#include <string>

// The top-most folders of `working` below `root` that moved or were renamed;
// one whose move `errors` names is told at its old place.
void NotifyShellOfFolders(const std::wstring& root, const Lst<LocalMoveData*>& working,
                          const Lst<MoveErrorEntry*>& errors);
