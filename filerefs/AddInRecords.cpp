#include "filerefs/AddInRecords.h"

#include "common/StringUtil.h"
#include "interfaces/AddInHooks.h"

namespace {

const std::wstring& Lookup(const std::map<int32_t, std::wstring>& map, int32_t id) {
    static const std::wstring kUnresolved;
    const auto found = map.find(id);
    return found == map.end() ? kUnresolved : found->second;
}

// The part after the last backslash that is followed by other characters,
// without trailing backslashes.
std::wstring LastComponent(const std::wstring& path) {
    const std::wstring trimmed = StripTrailingBackslashes(path);
    return trimmed.substr(trimmed.rfind(L'\\') + 1);  // npos + 1 is 0: the whole text
}

AddInItemRecord FolderMove(const MoveItem& item, const std::wstring& root, const FolderPathMap& folderPaths) {
    AddInItemRecord record{item.folderId, 0, item.destFolderId, {}, {}};
    const std::wstring& folder = Lookup(folderPaths, item.folderId);
    const std::wstring& destination = Lookup(folderPaths, item.destFolderId);
    if (folder.empty()) return record;
    record.text1 = StripTrailingBackslashes(root + folder);
    if (!destination.empty()) {
        record.text2 = StripTrailingBackslashes(root + destination + LastComponent(*record.text1));
    }
    return record;
}

AddInItemRecord FolderRename(const MoveItem& item, const FolderPathMap& folderPaths) {
    return {item.folderId, item.destFolderId, 0, LastComponent(Lookup(folderPaths, item.folderId)), item.newName};
}

AddInItemRecord FileMove(const MoveItem& item, const std::wstring& root, const FolderPathMap& folderPaths,
                         const FileNameMap& fileNames) {
    AddInItemRecord record{item.fileId, item.folderId, item.destFolderId, {}, {}};
    const std::wstring& folder = Lookup(folderPaths, item.folderId);
    const std::wstring& destination = Lookup(folderPaths, item.destFolderId);
    const std::wstring& name = Lookup(fileNames, item.fileId);
    if (folder.empty() || destination.empty() || name.empty()) return record;
    record.text1 = root + folder + name;
    record.text2 = root + destination + name;
    return record;
}

AddInItemRecord FileRename(const MoveItem& item, const FileNameMap& fileNames) {
    return {item.fileId, item.folderId, 0, Lookup(fileNames, item.fileId), item.newName};
}

}  // namespace

AddInItemRecord DescribeAddInItem(int32_t cmd, const MoveItem& item, const std::wstring& localRoot,
                                  const FolderPathMap& folderPaths, const FileNameMap& fileNames) {
    if (item.fileId == 0) {
        const bool move = cmd == kAddInFolderMoveBefore || cmd == kAddInFolderMoveAfter;
        return move ? FolderMove(item, localRoot, folderPaths) : FolderRename(item, folderPaths);
    }
    const bool move = cmd == kAddInFileMoveBefore || cmd == kAddInFileMoveAfter;
    return move ? FileMove(item, localRoot, folderPaths, fileNames) : FileRename(item, fileNames);
}
