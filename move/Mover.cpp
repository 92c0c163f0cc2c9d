#include "move/Mover.h"

#include "filerefs/ReferencedFiles.h"
#include "localview/LocalMovePlanning.h"
#include "localview/MoveErrors.h"
#include "report/ShowMoveErrors.h"

Mover::Mover(HWND parent, MoveHost* host_, MoveRequest* request_, bool silent_)
    : hwndParent(parent), host(host_), request(request_), silent(silent_) {}

Mover::~Mover() { localMoves.DeleteAll(); }

void Mover::AddError(const std::wstring& path, const std::wstring& newPath, HRESULT code, const std::wstring& detail) {
    MoveErrors(request->errors).Add(path, newPath, code, detail);
}

// Deleting a RefFile deletes its MoveRefs too.
void Mover::EmptyOutputLists() {
    request->refFiles.DeleteAll();
    request->dbErrors.DeleteAll();
    request->errors.DeleteAll();
    request->refErrors.DeleteAll();
    localMoves.DeleteAll();
}

void Mover::PlanLocalMoves(const FileNameMap& fileNames, const FolderPathMap& folderPaths) {
    MoveErrors errors(request->errors);
    ::PlanLocalMoves(*request, fileNames, folderPaths, localMoves, errors);
}

void Mover::ExecuteLocalMoves(MovedPaths& movedPaths) {
    MoveErrors errors(request->errors);
    ::ExecuteLocalMoves(request->localRoot, localMoves, errors, movedPaths);
}

HRESULT Mover::ProcessReferencedFiles(const std::wstring& target) {
    return ::ProcessReferencedFiles(request->vault, target);
}

void Mover::ShowMoveErrors(const std::wstring& description, bool cannotMode) {
    ::ShowMoveErrors(hwndParent, request, *this, description, cannotMode);
}
