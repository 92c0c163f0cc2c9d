// Before anything on disk changes, the local view service's COM notifier hears
// which files and folders are about to move, and the shell hears that each
// request folder that moves without a rename is going away.
#include "localview/LocalViewAnnouncement.h"

#include "common/Bstr.h"
#include "common/ComCreate.h"
#include "common/Variant.h"
#include "filerefs/RecordArray.h"
#include "interfaces/LocalViewNotifier.h"
#include "localview/ShellNotices.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t kAnnounce = 1;

void AnnounceFolders(ILocalViewFolderNotifier* notifier, const std::vector<std::wstring>& folders) {
    RecordArray paths = CreateBstrArray(static_cast<ULONG>(folders.size()));
    for (size_t i = 0; i < folders.size(); ++i) paths.Data<BSTR>()[i] = Bstr(folders[i]).Detach();
    UniqueVariant list;
    list.TakeArray(VT_BSTR, paths.Release());
    notifier->AnnounceFolders(kAnnounce, 0, list.Get());
}

}  // namespace

void AnnounceLocalMoves(const std::wstring& root, const Lst<LocalMoveData*>& working) {
    // Empty when the service is not installed or does not start; that is silent.
    ComPtr<ILocalViewNotifier> notifier;
    CreateRunningObject(CLSID_LocalViewNotifier, IID_ILocalViewNotifier, notifier);
    const auto folderNotifier = ComPtr<ILocalViewFolderNotifier>::Query(notifier.Get(), IID_ILocalViewFolderNotifier);
    ShellNotices shell(root);

    std::vector<std::wstring> folders;
    for (const LocalMoveData* entry : working) {
        if (!entry->isFolder) {
            if (notifier) notifier->AnnounceFile(Bstr(entry->oldPath).Get(), kAnnounce);
            continue;
        }
        if (folderNotifier) folders.push_back(entry->oldPath);
        const bool movedRequestFolder = entry->item && entry->item->newName.empty();
        if (movedRequestFolder && entry->oldPath.size() > root.size()) {
            shell.NotifyByPath(entry->oldPath.substr(root.size()), SHCNE_RMDIR);
        }
    }
    if (folderNotifier && !folders.empty()) AnnounceFolders(folderNotifier.Get(), folders);
}
