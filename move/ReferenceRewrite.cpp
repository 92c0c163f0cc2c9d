// The pass after the local moves: the file-format manager rewrites the
// reference paths stored in every file whose referenced files moved. Each file
// keeps its attributes, and its last-write time is saved for the driver to set
// two seconds after the time it had.
#include "move/Mover.h"

#include "common/OwnedList.h"
#include "common/StringUtil.h"
#include "common/WritableForScope.h"
#include "filerefs/PlainCadFile.h"
#include "interfaces/FileFormatMgr.h"
#include "localview/FileTime.h"

#include <memory>

namespace {

// Where the file is now: where the local move put it, else its own path in lower case.
std::wstring CurrentPath(const RefFile& file, const MovedPaths& movedPaths) {
    const std::wstring path = LowerCase(file.newPath.empty() ? file.oldPath : file.newPath);
    const auto moved = movedPaths.find(path);
    return moved == movedPaths.end() ? path : moved->second;
}

// A file that moved itself is named to the manager as "old">"current".
std::wstring RewriteTarget(const RefFile& file, const std::wstring& path) {
    return file.newPath.empty() ? path : L"\"" + file.oldPath + L"\">\"" + path + L"\"";
}

}  // namespace

void Mover::RewriteReferences(const MovedPaths& movedPaths, SavedTimes& savedTimes, HRESULT& pending,
                              FileFormatMgr* manager) {
    bool stopAsking = false;
    for (RefFile* file : request->refFiles) {
        const std::wstring path = CurrentPath(*file, movedPaths);
        // Hidden and system files refuse being written over, as read-only ones do.
        const WritableForScope writable(path, ~DWORD{0});
        if (!writable.Exists()) continue;  // gone: nothing to rewrite
        const auto lastWritten = CaptureLastWriteTime(path);
        RewriteFile(file, path, pending, manager, stopAsking);
        if (const auto later = lastWritten ? TwoSecondsLater(*lastWritten) : std::nullopt) {
            savedTimes.emplace(LowerCase(path), *later);  // the first entry for a path wins
        }
    }
}

// A format that no plug-in handles has nothing to rewrite; any other failure
// may be tried again, else the file is recorded and the pass goes on. The
// manager gets the host's references in a list of the module's own, whose
// count and tail agree with its nodes whatever the host's list says.
void Mover::RewriteFile(RefFile* file, const std::wstring& path, HRESULT& pending, FileFormatMgr* manager,
                        bool& stopAsking) {
    const std::wstring target = RewriteTarget(*file, path);
    Lst<MoveRef*> refs;
    for (MoveRef* ref : file->refs) refs.Append(ref);
    for (;;) {
        if (IsPlainCadFile(target)) pending = ProcessReferencedFiles(target);
        const HRESULT hr = manager->UpdateReferencePaths(target.c_str(), &refs, 0, 0, 0, 0);
        if (SUCCEEDED(hr) || hr == E_QOR_NO_MATCHING_PLUGIN) return;
        if (TryAgain(path, hr, stopAsking)) continue;
        AppendOwned(request->refErrors, std::make_unique<MoveErrorEntry>(file, hr));
        return;
    }
}
