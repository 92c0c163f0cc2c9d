#include "referencehost/Catalog.h"

#include <cwchar>
#include <functional>

namespace {

std::vector<std::wstring> Names(const std::wstring& vaultPath) {
    std::vector<std::wstring> names;
    size_t start = 0;
    while (start < vaultPath.size()) {
        size_t end = vaultPath.find(L'\\', start);
        if (end == std::wstring::npos) end = vaultPath.size();
        if (end > start) names.push_back(vaultPath.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

}  // namespace

std::wstring NormalVaultPath(std::wstring path) {
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

Catalog Catalog::Load(Database& db) {
    Catalog catalog;
    Statement folders = db.Prepare("SELECT id, parent_id, name FROM folders");
    while (folders.Step()) {
        catalog.folders[static_cast<int32_t>(folders.Int(0))] = {static_cast<int32_t>(folders.Int(1)), folders.Text(2)};
    }
    Statement files = db.Prepare("SELECT id, folder_id, name FROM files");
    while (files.Step()) {
        catalog.files[static_cast<int32_t>(files.Int(0))] = {static_cast<int32_t>(files.Int(1)), files.Text(2), {}};
    }
    Statement references = db.Prepare("SELECT file_id, referenced_id FROM file_references ORDER BY file_id, referenced_id");
    while (references.Step()) {
        catalog.files[static_cast<int32_t>(references.Int(0))].references.push_back(
            static_cast<int32_t>(references.Int(1)));
    }
    return catalog;
}

std::wstring Catalog::FolderPath(int32_t folderId) const {
    std::wstring path = L"\\";
    for (int32_t id = folderId; id != kRootFolderId && id != 0;) {
        const CatalogFolder& folder = folders.at(id);
        path.insert(1, folder.name + L"\\");
        id = folder.parentId;
    }
    return path;
}

std::map<int32_t, std::wstring> Catalog::FolderPaths() const {
    std::map<int32_t, std::wstring> paths;
    const std::function<const std::wstring&(int32_t)> pathOf = [&](int32_t id) -> const std::wstring& {
        if (const auto known = paths.find(id); known != paths.end()) return known->second;
        const CatalogFolder& folder = folders.at(id);
        std::wstring path = id == kRootFolderId ? L"\\" : pathOf(folder.parentId) + folder.name + L"\\";
        return paths.emplace(id, std::move(path)).first->second;
    };
    for (const auto& entry : folders) pathOf(entry.first);
    return paths;
}

std::optional<int32_t> Catalog::ChildFolder(int32_t parentId, const std::wstring& name) const {
    for (const auto& [id, folder] : folders) {
        if (folder.parentId == parentId && id != kRootFolderId && _wcsicmp(folder.name.c_str(), name.c_str()) == 0) {
            return id;
        }
    }
    return std::nullopt;
}

std::optional<int32_t> Catalog::FileIn(int32_t folderId, const std::wstring& name) const {
    for (const auto& [id, file] : files) {
        if (file.folderId == folderId && _wcsicmp(file.name.c_str(), name.c_str()) == 0) return id;
    }
    return std::nullopt;
}

std::optional<int32_t> Catalog::FindFolder(const std::wstring& vaultPath) const {
    std::optional<int32_t> id = kRootFolderId;
    for (const std::wstring& name : Names(NormalVaultPath(vaultPath))) {
        id = ChildFolder(*id, name);
        if (!id) break;
    }
    return id;
}

std::optional<int32_t> Catalog::FindFile(const std::wstring& vaultPath) const {
    const std::wstring path = NormalVaultPath(vaultPath);
    const size_t cut = path.rfind(L'\\');
    const std::optional<int32_t> folder = FindFolder(cut == std::wstring::npos ? L"" : path.substr(0, cut));
    if (!folder) return std::nullopt;
    return FileIn(*folder, cut == std::wstring::npos ? path : path.substr(cut + 1));
}

bool Catalog::IsWithin(int32_t folderId, int32_t ancestorId) const {
    for (int32_t id = folderId; id != 0; id = folders.count(id) ? folders.at(id).parentId : 0) {
        if (id == ancestorId) return true;
    }
    return false;
}

// A folder item names its parent as the destination when it is renamed in
// place; naming the folder itself does the same.
void Catalog::Apply(const MoveRequest& request) {
    for (const MoveItem* item : request.items) {
        if (item->fileId != 0) {
            CatalogFile& file = files.at(item->fileId);
            file.folderId = item->destFolderId;
            if (!item->newName.empty()) file.name = item->newName;
            continue;
        }
        CatalogFolder& folder = folders.at(item->folderId);
        if (item->destFolderId != item->folderId) folder.parentId = item->destFolderId;
        if (!item->newName.empty()) folder.name = item->newName;
    }
}
