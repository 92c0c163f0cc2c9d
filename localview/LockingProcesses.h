// Which processes hold a file open, as the Restart Manager sees it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Fills `processIds` (emptied first) with the processes that hold the file,
// in the Restart Manager's order. Returns 0 when it listed any, 1 when none,
// else the Restart Manager's error with the list empty: a file held by more
// than ten processes thus counts as held by none.
DWORD GetLockingProcessIds(const std::wstring& path, std::vector<DWORD>& processIds);
