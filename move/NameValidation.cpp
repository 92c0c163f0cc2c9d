// Target name validation: every new name is checked before anything changes,
// and each rejected name becomes one E_QOR_INVALID_NAME entry.
#include "move/NameValidation.h"

#include "common/StringUtil.h"
#include "module/Translate.h"
#include "move/Mover.h"

#include <cwchar>

namespace {

constexpr const wchar_t* kReservedName = L"desktop.ini";

bool IsForbiddenCharacter(wchar_t c) {
    return c != L'\0' && wcschr(L"/\\:*?\"<>|\r\n\v", c) != nullptr;
}

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

// The name the file system gives an item: Windows drops the periods and
// spaces at the end of a path's last component.
std::wstring StoredName(const std::wstring& name) {
    const size_t keep = name.find_last_not_of(L". ");
    return keep == std::wstring::npos ? std::wstring() : name.substr(0, keep + 1);
}

// Besides the character rules, a name is refused that the file system would
// store as the reserved name or as nothing at all ("desktop.ini.", "   ",
// ". ."), and one with a zero character inside, which would end it early for
// every file operation and for the rules too.
bool Acceptable(const std::wstring& name) {
    if (name.empty()) return true;
    if (name.find(L'\0') != std::wstring::npos) return false;
    const std::wstring stored = StoredName(name);
    return !stored.empty() && _wcsicmp(stored.c_str(), kReservedName) != 0 && IsValidFileName(name.c_str());
}

}  // namespace

bool IsValidFileName(const wchar_t* name) {
    size_t periods = 0;
    size_t others = 0;
    for (const wchar_t* c = name; *c; ++c) {
        if (*c == L'.') {
            ++periods;
            continue;
        }
        if (IsForbiddenCharacter(*c)) return false;
        ++others;
    }
    return !(periods > 0 && others == 0);
}

bool Mover::ValidateTargetName(const std::wstring& name, const std::wstring& oldPath, const std::wstring& newPath) {
    if (Acceptable(name)) return true;
    AddError(oldPath, newPath, E_QOR_INVALID_NAME, name);
    return false;
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
