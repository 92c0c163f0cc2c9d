#include "move/Mover.h"

#include "common/OwnedList.h"

Mover::Mover(HWND parent, MoveHost* host_, MoveRequest* request_, bool silent_)
    : hwndParent(parent), host(host_), request(request_), silent(silent_) {}

Mover::~Mover() { localMoves.DeleteAll(); }

void Mover::AddError(const std::wstring& path, const std::wstring& newPath, HRESULT code, const std::wstring& detail) {
    AppendOwned(request->errors, std::make_unique<MoveErrorEntry>(path, newPath, code, detail));
}

// Deleting a RefFile deletes its MoveRefs too.
void Mover::EmptyOutputLists() {
    request->refFiles.DeleteAll();
    request->dbErrors.DeleteAll();
    request->errors.DeleteAll();
    request->refErrors.DeleteAll();
    localMoves.DeleteAll();
}
