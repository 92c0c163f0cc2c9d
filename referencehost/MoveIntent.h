// What a database change asks of the local view, recorded in the same
// transaction as the change and deleted once the disk has followed; one left
// behind is a move that a crash interrupted.
#pragma once

#include "referencehost/Database.h"

#include <cstdint>
#include <string>
#include <vector>

struct PathMove {
    bool isFolder = false;
    std::wstring oldPath;  // full local paths, folders without a trailing backslash
    std::wstring newPath;
};

struct ReferenceChange {
    std::wstring path;  // the document, where it is after the move
    std::wstring oldRef;
    std::wstring newRef;
};

struct MoveIntent {
    int64_t id = 0;
    std::vector<PathMove> moves;  // folders parents first, then files
    std::vector<ReferenceChange> rewrites;
};

// Inside the caller's transaction.
int64_t RecordIntent(Database& db, const MoveIntent& intent);
void DeleteIntent(Database& db, int64_t id);
// Every intent left behind, oldest first.
std::vector<MoveIntent> PendingIntents(Database& db);
