// The floor of a folder move: a loop that makes exactly the system calls a
// move of the same tree must make, and no others. It is written from the
// service's and the notifier's interfaces, not from the module's code, so
// that it stays a reference for the module.
#pragma once

#include "BenchTree.h"
#include "FloorCalls.h"

#include <string>

struct FloorMove {
    std::wstring localRoot;
    std::wstring oldFolder;  // the moved folder's full path before and after
    std::wstring newFolder;
};

struct FloorRun {
    NoticeCount notices;
    double checked = 0;  // when planning and the checks were done, by Seconds()
};

FloorRun MoveAtFloor(const FloorMove& move, const Tree& tree);
