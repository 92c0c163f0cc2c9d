// What hears of the local moves before anything on disk changes.
#pragma once

#include "GhMove.h"
#include "localview/LocalMoveData.h"

#include <string>

// The local view service's notifier hears of every entry of `working`, the
// shell of each request folder below `root` that moves without a rename.
void AnnounceLocalMoves(const std::wstring& root, const Lst<LocalMoveData*>& working);
