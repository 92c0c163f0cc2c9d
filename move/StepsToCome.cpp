// Steps of the driver whose capability has not been built yet. Each one does
// nothing, so the driver's sequence, results and stops already hold; the
// capability named in each comment replaces its step here.
#include "move/Mover.h"
#include "report/FileRefCmdDbErrors.h"

// Add-in command notification: the add-ins hear of the operation and may veto.
HRESULT Mover::NotifyAddIns(IAddInHooks*, int32_t, int32_t, const FolderPathMap&, const FileNameMap&, int32_t,
                            int32_t, bool) {
    return S_OK;
}

// Non-unique files dialog: the vault files that carry the name in question.
HRESULT Mover::ShowNonUniqueFiles(const std::vector<std::wstring>*, const std::vector<std::wstring>*) { return S_OK; }

// Database connection for the report: the user's rights on an item's folders
// through the stored-procedure library. Without it no connection is made, and
// every item lacks "one of" the permissions.
int FileRefCmdDbErrors::OpenPermissionConnection() { return 1; }
void FileRefCmdDbErrors::ClosePermissionConnection() {}
Msg FileRefCmdDbErrors::MovePermissionProblem(const FileRefErr&) const { return Msg::LacksAMovePermission; }
