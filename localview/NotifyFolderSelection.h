// Which moved entries the shell hears about: the top-most places only.
#pragma once

#include "GhMove.h"
#include "localview/FailedMoves.h"
#include "localview/LocalMoveData.h"

// Walks `working` in order. An entry whose new path has a selected entry's
// new path as its text prefix (ignoring case, not by path components) is left
// out; an entry whose new path is a shorter prefix of a selected one takes the
// place of the earliest such one. Failed entries follow, in order. Appends to
// `selection`, which shares the entries.
void SelectNotifyFolders(const Lst<LocalMoveData*>& working, const FailedMoves& failed,
                         Lst<LocalMoveData*>& selection);
