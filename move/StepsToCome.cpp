// Steps of the driver whose capability has not been built yet. Each one does
// nothing, so the driver's sequence, results and stops already hold; the
// capability named in each comment replaces its step here.
#include "move/Mover.h"
#include "report/ProductMessageBox.h"

// Local move planning: which files and folders move in the local view, and
// E_QOR_NAME_ALREADY_EXISTS for every target that is taken.
void Mover::PlanLocalMoves(const FileNameMap&, const FolderPathMap&) {}

// Local move execution: the local view service is told, folders are recreated,
// files moved, emptied folders removed, the shell notified; movedPaths filled.
void Mover::ExecuteLocalMoves(MovedPaths&) {}

// Add-in command notification: the add-ins hear of the operation and may veto.
HRESULT Mover::NotifyAddIns(IAddInHooks*, int32_t, int32_t, const FolderPathMap&, const FileNameMap&, int32_t,
                            int32_t, bool) {
    return S_OK;
}

// Error report: the request's failure lists shown in the report dialog.
void Mover::ShowMoveErrors(const std::wstring&, bool) {}

// Non-unique files dialog: the vault files that carry the name in question.
HRESULT Mover::ShowNonUniqueFiles(const std::vector<std::wstring>*, const std::vector<std::wstring>*) { return S_OK; }

// Message-box library: the retry question; 0 means no box could be shown.
int ShowProductMessageBox(const std::wstring&, const std::wstring&, HWND) { return 0; }
