#include "environment/FolderRights.h"

#include "common/Bstr.h"

FolderRights::FolderRights(SpMgr* connection, IUnknown* vault, int32_t hostContext)
    : lookup_(ComPtr<IVaultFolderLookup>::Query(vault, IID_IVaultFolderLookup)), hostContext_(hostContext) {
    if (connection && lookup_) project_ = static_cast<SpProject*>(connection->mpoGetProc(SpidProject));
}

std::optional<uint32_t> FolderRights::Of(const std::wstring& folderPath) const {
    if (!project_) return std::nullopt;
    // Without memory for the path the rights cannot be told either.
    Bstr path;
    try {
        path = Bstr(folderPath);
    } catch (const ComError&) {
        return std::nullopt;
    }
    ComPtr<IVaultFolder> folder;
    if (FAILED(lookup_->FindFolderByPath(path.Get(), folder.Put())) || !folder) return std::nullopt;
    int32_t id = 0;
    if (FAILED(folder->GetFolderId(&id))) return std::nullopt;
    uint32_t rights = 0;
    if (project_->mhGetUserRights(hostContext_, id, &rights) != 0) return std::nullopt;
    return rights;
}
