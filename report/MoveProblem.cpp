#include "report/MoveProblem.h"

#include "environment/FolderRights.h"

namespace {

bool Has(uint32_t rights, uint32_t bit) { return (rights & bit) != 0; }

// The first right missing on the source folder names the message.
Msg FileSourceProblem(uint32_t rights) {
    if (!Has(rights, kRightMoveFiles)) return Msg::NoMoveFilePermission;
    if (!Has(rights, kRightReadContents)) return Msg::NoReadFilePermission;
    if (!Has(rights, kRightMoveFolders)) return Msg::NoMoveParentFolderPermission;
    return Msg::LacksAMovePermission;
}

// The same for a folder, whose source is its parent folder.
Msg FolderSourceProblem(uint32_t rights) {
    if (!Has(rights, kRightMoveFolders)) return Msg::NoMoveFolderPermission;
    if (!Has(rights, kRightMoveFiles)) return Msg::NoMoveSubfolderFilePermission;
    if (!Has(rights, kRightReadContents)) return Msg::NoReadFilePermission;
    return Msg::LacksAMovePermission;
}

}  // namespace

Msg MoveProblem(bool isFolder, const std::wstring& sourceFolder, const std::wstring& targetFolder,
                const RightsOfFolder& rightsOf) {
    const std::optional<uint32_t> target = rightsOf(targetFolder);
    if (!target) return Msg::LacksAMovePermission;
    if (!Has(*target, isFolder ? kRightAddFolder : kRightAddFile)) return Msg::NoAddPermission;
    const std::optional<uint32_t> source = rightsOf(sourceFolder);
    if (!source) return Msg::LacksAMovePermission;
    return isFolder ? FolderSourceProblem(*source) : FileSourceProblem(*source);
}
