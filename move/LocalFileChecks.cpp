// The checks before the vault database changes: no file that has to move or
// be rewritten may be held by another process.
#include "move/Mover.h"

#include "common/Handles.h"
#include "common/OwnedList.h"
#include "common/PathExists.h"
#include "common/WritableForScope.h"
#include "localview/LockingProcesses.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <unordered_map>
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

// A read-only file is made writable for the test, so that only another
// process's hold makes it fail. Folders, and paths that are gone, pass.
bool MayMoveSource(const std::wstring& path) {
    const WritableForScope source(path);
    if (!source.Exists() || source.IsFolder()) return true;
    return source.Writable() && OpensForExclusiveWriting(path);
}

}  // namespace

// A file stands in the plan once for every folder above it that moves; it is
// tested once, and every appearance is recorded as the first one fared, where
// testing each would open the same file again and again.
void Mover::CheckLocalMovesWritable() {
    std::unordered_map<std::wstring_view, bool> passed;  // views of the planned paths, which outlive the pass
    for (const LocalMoveData* move : localMoves) {
        const auto [tested, first] = passed.try_emplace(move->oldPath, true);
        if (first) tested->second = MayMoveSource(move->oldPath);
        if (!tested->second) AddError(move->oldPath, move->newPath, E_QOR_FILE_SHARE_ERROR);
    }
}

// Inside the CAD application its own documents are open, so nothing is
// tested. A file that does not exist is not tested, nor one that this process
// holds itself; asking the disk first spares a Restart Manager session, which
// costs milliseconds, for every target that is not there yet.
void Mover::CheckReferenceFilesFree(bool insideCad, DWORD processId) {
    if (insideCad) return;
    bool stopAsking = false;
    for (RefFile* file : request->refFiles) {
        const std::wstring& path = file->newPath.empty() ? file->oldPath : file->newPath;
        if (!PathExists(path) || HeldBy(path, processId)) continue;
        while (!OpensForReading(path)) {
            if (TryAgain(path, E_QOR_FILE_SHARE_ERROR, stopAsking)) continue;
            AppendOwned(request->errors, std::make_unique<MoveErrorEntry>(file, E_QOR_FILE_SHARE_ERROR));
            break;
        }
    }
}
