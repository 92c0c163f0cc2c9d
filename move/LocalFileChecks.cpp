// The checks before the vault database changes: no file that has to move or
// be rewritten may be held by another process.
#include "move/Mover.h"

#include "common/Handles.h"
#include "common/OwnedList.h"
#include "localview/LockingProcesses.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

bool OpensForExclusiveWriting(const std::wstring& path) {
    return static_cast<bool>(
        UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr)));
}

bool OpensForReading(const std::wstring& path) {
    return static_cast<bool>(UniqueFileHandle(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                    nullptr)));
}

bool HeldBy(const std::wstring& path, DWORD processId) {
    std::vector<DWORD> holders;
    GetLockingProcessIds(path, holders);
    return std::find(holders.begin(), holders.end(), processId) != holders.end();
}

}  // namespace

// A read-only file is made writable for the test, so that only another
// process's hold makes it fail. Folders are never tested.
void Mover::CheckLocalMovesWritable() {
    for (const LocalMoveData* move : localMoves) {
        const DWORD attributes = GetFileAttributesW(move->oldPath.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        const bool readOnly = (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ==
                              FILE_ATTRIBUTE_READONLY;
        const bool writable =
            !readOnly || SetFileAttributesW(move->oldPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) == TRUE;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && (!writable || !OpensForExclusiveWriting(move->oldPath))) {
            AddError(move->oldPath, move->newPath, E_QOR_FILE_SHARE_ERROR);
        }
        if (readOnly) SetFileAttributesW(move->oldPath.c_str(), attributes);
    }
}

// Inside the CAD application its own documents are open, so nothing is
// tested. A file that this process holds itself is not tested either, nor one
// that does not exist.
void Mover::CheckReferenceFilesFree(bool insideCad, DWORD processId) {
    if (insideCad) return;
    bool stopAsking = false;
    for (RefFile* file : request->refFiles) {
        const std::wstring& path = file->newPath.empty() ? file->oldPath : file->newPath;
        if (HeldBy(path, processId) || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        while (!OpensForReading(path)) {
            if (TryAgain(path, E_QOR_FILE_SHARE_ERROR, stopAsking)) continue;
            AppendOwned(request->errors, std::make_unique<MoveErrorEntry>(file, E_QOR_FILE_SHARE_ERROR));
            break;
        }
    }
}
