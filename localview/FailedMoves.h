// The local moves that the request's error list names.
#pragma once

#include "GhMove.h"
#include "localview/LocalMoveData.h"

#include <set>
#include <string>
#include <utility>

// An entry failed when an error names its old and its new path, both
// ignoring case. A set of lower-case pairs answers that in log time where a
// walk over the errors for every entry would be quadratic.
class FailedMoves {
public:
    explicit FailedMoves(const Lst<MoveErrorEntry*>& errors);
    bool Contains(const LocalMoveData& entry) const;

private:
    std::set<std::pair<std::wstring, std::wstring>> pairs_;
};
