// Steps of the driver whose capability has not been built yet. Each one does
// nothing, so the driver's sequence, results and stops already hold; the
// capability named in each comment replaces its step here.
#include "report/FileRefCmdDbErrors.h"

// Database connection for the report: the user's rights on an item's folders
// through the stored-procedure library. Without it no connection is made, and
// every item lacks "one of" the permissions.
int FileRefCmdDbErrors::OpenPermissionConnection() { return 1; }
void FileRefCmdDbErrors::ClosePermissionConnection() {}
Msg FileRefCmdDbErrors::MovePermissionProblem(const FileRefErr&) const { return Msg::LacksAMovePermission; }
