// A part renamed while `files` assemblies reference it: every assembly is
// checked for other holders before the database changes, has its stored
// reference rewritten by the file-format manager, keeps its attributes and
// gets its last-write time two seconds later.
#pragma once

#include "GhMove.h"

#include <string>

struct RewriteTimes {
    double module;
    double floor;  // the same system and file-format manager calls, made directly
    double bare;   // the file-format manager's rewrites alone
    double peakMb;
};

// The module and the floor take turns at going first, as in the moves.
RewriteTimes TimeRewrite(GhMoveFunction ghMove, const std::wstring& base, int files, bool floorFirst);
