// Target name validation: every new name is checked before anything changes,
// and each rejected name becomes one E_QOR_INVALID_NAME entry.
#include "move/Mover.h"

#include "common/StringUtil.h"
#include "localview/TargetNames.h"
#include "module/Translate.h"

#include <cwchar>

namespace {

// Full path of the item before the operation, and after it.
struct ItemPaths {
    std::wstring oldPath;
    std::wstring newPath;
};

ItemPaths PathsOf(const MoveItem& item, const std::wstring& root, const FolderPathMap& folderPaths,
                  const FileNameMap& fileNames) {
    const auto oldFolderIt = folderPaths.find(item.folderId);
    const std::wstring oldFolder = oldFolderIt != folderPaths.end() ? root + oldFolderIt->second : std::wstring();
    const auto nameIt = fileNames.find(item.fileId);
    const std::wstring oldName = nameIt != fileNames.end() ? nameIt->second : std::wstring();

    std::wstring newFolder;
    const bool staysInFolder = item.destFolderId == 0 || item.destFolderId == item.folderId;
    if (staysInFolder && !oldFolder.empty()) {
        newFolder = oldFolder;
    } else if (const auto destIt = folderPaths.find(item.destFolderId); destIt != folderPaths.end()) {
        newFolder = root + destIt->second;
    }
    return {oldFolder + oldName, newFolder + item.newName};
}

}  // namespace

bool Mover::ValidateTargetName(const std::wstring& name, const std::wstring& oldPath, const std::wstring& newPath) {
    MoveErrors errors(request->errors);
    return CheckTargetName(name, oldPath, newPath, errors);
}

// Both passes run to the end, so that every bad name is recorded.
bool Mover::ValidateNames(const FolderPathMap& folderPaths, const FileNameMap& fileNames) {
    bool rejected = false;
    for (const MoveItem* item : request->items) {
        if (item->newName.empty()) continue;
        const ItemPaths paths = PathsOf(*item, request->localRoot, folderPaths, fileNames);
        if (!ValidateTargetName(item->newName, paths.oldPath, paths.newPath)) rejected = true;
    }
    for (const LocalItem* item : request->localItems) {
        const std::wstring oldName = FileNamePart(item->oldPath);
        const std::wstring newName = FileNamePart(item->newPath);
        // A change of case only is not checked.
        if (_wcsicmp(oldName.c_str(), newName.c_str()) == 0) continue;
        if (!ValidateTargetName(newName, item->oldPath, item->newPath)) rejected = true;
    }
    if (!rejected) return true;
    if (!silent) ShowMoveErrors(Translate(Msg::InvalidNewName), true);
    return false;
}
