// After the local moves the shell hears about the top-most folders that
// moved (created at the new place) or were renamed. Files get no notice.
#include "localview/ShellNotification.h"

#include "common/StringUtil.h"
#include "localview/FailedMoves.h"
#include "localview/ShellNotices.h"
#include "localview/NotifyFolderSelection.h"

#include <shlobj.h>

#include <cwchar>

void NotifyShellOfFolders(const std::wstring& root, const Lst<LocalMoveData*>& working,
                          const Lst<MoveErrorEntry*>& errors) {
    const FailedMoves failed(errors);
    Lst<LocalMoveData*> selection;
    SelectNotifyFolders(working, failed, selection);
    ShellNotices shell(root);

    for (const LocalMoveData* entry : selection) {
        if (!entry->isFolder) continue;
        // A folder whose move failed is still where it was.
        const std::wstring& place = failed.Contains(*entry) ? entry->oldPath : entry->newPath;
        if (place.size() <= root.size()) continue;
        const bool moved = _wcsicmp(FileNamePart(entry->oldPath).c_str(), FileNamePart(entry->newPath).c_str()) == 0;
        if (moved) {
            shell.NotifyByPath(place.substr(root.size()), SHCNE_MKDIR);
        } else if (entry->oldPath.size() > root.size()) {
            shell.NotifyFolderRenamed(entry->oldPath.substr(root.size()), place.substr(root.size()));
        }
    }
}
