#include "SampleVault.h"

#include <fstream>

namespace {

std::wstring ParentPath(const std::wstring& folderPath) {
    const size_t cut = folderPath.rfind(L'\\', folderPath.size() - 2);
    return folderPath.substr(0, cut + 1);
}

std::wstring LastName(const std::wstring& folderPath) {
    const std::wstring parent = ParentPath(folderPath);
    return folderPath.substr(parent.size(), folderPath.size() - parent.size() - 1);
}

}  // namespace

int32_t SampleVault::AddFolder(const std::wstring& path) {
    folders_[nextId_] = {path};
    return nextId_++;
}

int32_t SampleVault::AddFile(int32_t folderId, const std::wstring& name, const std::string& content) {
    files_[nextId_] = {folderId, name};
    CreateDirectoryW((localRoot_ + folders_[folderId].path).c_str(), nullptr);
    std::ofstream((localRoot_ + folders_[folderId].path + name).c_str(), std::ios::binary) << content;
    return nextId_++;
}

void SampleVault::CreateLocalView() const {
    CreateDirectoryW(localRoot_.c_str(), nullptr);
    for (const auto& [id, folder] : folders_) CreateDirectoryW((localRoot_ + folder.path).c_str(), nullptr);
}

int32_t SampleVault::FolderId(const std::wstring& path) const {
    for (const auto& [id, folder] : folders_) {
        if (folder.path == path) return id;
    }
    return -1;
}

int32_t SampleVault::FileId(const std::wstring& name) const {
    for (const auto& [id, file] : files_) {
        if (file.name == name) return id;
    }
    return -1;
}

HRESULT SampleVault::ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) {
    for (auto& [id, path] : folderPaths) {
        if (const auto it = folders_.find(id); it != folders_.end()) path = it->second.path;
    }
    for (auto& [id, name] : fileNames) {
        if (const auto it = files_.find(id); it != files_.end()) name = it->second.name;
    }
    return S_OK;
}

// No file of the sample vault stores references yet.
HRESULT SampleVault::ListReferenceUpdates(MoveRequest*) { return S_OK; }

// All or nothing: when the database refuses an item, nothing moves.
HRESULT SampleVault::MoveInDatabase(MoveRequest* request) {
    RefuseItems(request);
    if (!request->dbErrors.Empty()) return S_OK;
    for (const MoveItem* item : request->items) {
        if (item->fileId == 0) {
            MoveFolder(item->folderId, item->destFolderId, item->newName);
            continue;
        }
        VaultFile& file = files_[item->fileId];
        file.folderId = item->destFolderId;
        if (!item->newName.empty()) file.name = item->newName;
    }
    return S_OK;
}

// Files checked out elsewhere, and files whose name the destination folder
// already holds, are refused.
void SampleVault::RefuseItems(MoveRequest* request) const {
    constexpr int32_t kCheckedOutElsewhere = 2, kNameAlreadyUsed = 4;
    for (const MoveItem* item : request->items) {
        if (item->fileId == 0) continue;
        const VaultFile& file = files_.at(item->fileId);
        const std::wstring name = item->newName.empty() ? file.name : item->newName;
        int32_t kind = file.checkedOutElsewhere ? kCheckedOutElsewhere : 0;
        for (const auto& [id, other] : files_) {
            if (kind == 0 && id != item->fileId && other.folderId == item->destFolderId &&
                _wcsicmp(other.name.c_str(), name.c_str()) == 0) {
                kind = kNameAlreadyUsed;
            }
        }
        if (kind == 0) continue;
        auto* refused = new DbMoveError;
        refused->fileId = item->fileId;
        refused->kind = kind;
        refused->itemName = file.name;
        refused->oldFolder = folders_.at(file.folderId).path;
        refused->newFolder = folders_.at(item->destFolderId).path;
        request->dbErrors.Append(refused);
    }
}

// A folder and every folder below it take their new paths.
void SampleVault::MoveFolder(int32_t folderId, int32_t destFolderId, const std::wstring& newName) {
    const std::wstring oldPath = folders_[folderId].path;
    const std::wstring parent = destFolderId == folderId ? ParentPath(oldPath) : folders_[destFolderId].path;
    const std::wstring newPath = parent + (newName.empty() ? LastName(oldPath) : newName) + L"\\";
    for (auto& [id, folder] : folders_) {
        if (folder.path.compare(0, oldPath.size(), oldPath) == 0) folder.path = newPath + folder.path.substr(oldPath.size());
    }
}

HRESULT SampleVault::FindFilesByName(int32_t, const std::vector<std::wstring>*,
                                     std::vector<std::shared_ptr<FoundFileRecord>>*, const wchar_t*) {
    return S_OK;
}
