#include "localview/FailedMoves.h"

#include "common/StringUtil.h"

// Lower-casing both sides with the runtime's table is what the runtime's
// case-insensitive comparison does character by character.
FailedMoves::FailedMoves(const Lst<MoveErrorEntry*>& errors) {
    for (const MoveErrorEntry* error : errors) {
        if (error) pairs_.emplace(LowerCase(error->path), LowerCase(error->newPath));
    }
}

bool FailedMoves::Contains(const LocalMoveData& entry) const {
    if (pairs_.empty()) return false;  // the usual case, spared two copies per entry
    return pairs_.count({LowerCase(entry.oldPath), LowerCase(entry.newPath)}) != 0;
}
