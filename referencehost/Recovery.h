// Finishing a move that a crash interrupted, from what is on disk: files
// still at their old paths move, new folders are made and emptied old ones
// removed, references are rewritten where they are not yet. A file is never
// deleted unless the same bytes are at its new path.
#pragma once

#include "interfaces/FileFormatMgr.h"
#include "referencehost/Database.h"

#include <string>
#include <vector>

struct RecoveryReport {
    int finished = 0;                   // intents finished and deleted
    std::vector<std::wstring> problems;  // what could not be finished, by path
};

RecoveryReport Recover(Database& db, FileFormatMgr* manager);
