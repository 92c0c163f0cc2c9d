// What the module refuses in a host's request before it acts on it. A host's
// bug must neither take the vault client down nor move anything to a place
// the host did not mean, so each of these stops the run before the vault
// database changes: null elements in the lists (a list holds what its nodes
// hold, see Lst), a local view root that names no folder, and planned paths
// that the local file operations cannot take.
#include "move/Mover.h"

#include "common/HResult.h"
#include "common/StringUtil.h"
#include "localview/MoveLocalFile.h"

namespace {

template <class T>
bool HoldsNull(const Lst<T*>& list) {
    for (const T* element : list) {
        if (!element) return true;
    }
    return false;
}

// A zero inside a path ends it for every file operation, which would then act
// on another place than the one the host named.
bool HoldsZero(const std::wstring& text) { return text.find(L'\0') != std::wstring::npos; }

}  // namespace

HRESULT Mover::CheckRequest() const {
    if (HoldsNull(request->items) || HoldsNull(request->localItems)) return E_POINTER;
    // Items are found by localRoot + folder path + name, and folder paths begin with a backslash.
    if (!request->items.Empty() && !IsFullLocalPath(request->localRoot + L"\\")) return E_INVALIDARG;
    return S_OK;
}

HRESULT Mover::CheckListedReferences() const {
    for (const RefFile* file : request->refFiles) {
        if (!file || HoldsNull(file->refs)) return E_POINTER;
        if (HoldsZero(file->oldPath) || HoldsZero(file->newPath)) return E_INVALIDARG;
    }
    return S_OK;
}

// Only full drive paths reach the disk: a relative or network path would be
// completed by the current directory, or its folders made below it.
bool Mover::RecordUnworkablePaths() {
    for (const LocalMoveData* move : localMoves) {
        if (!IsFullLocalPath(move->oldPath) || !IsFullLocalPath(move->newPath)) {
            AddError(move->oldPath, move->newPath, E_INVALIDARG);
        } else if (move->newPath.size() >= kLocalPathBufferChars) {
            AddError(move->oldPath, move->newPath, HResultFromWin32(ERROR_FILENAME_EXCED_RANGE));
        }
    }
    return !request->errors.Empty();
}
