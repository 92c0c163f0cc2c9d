#include "tests/campaign/SampleVault.h"

#include "installation/standin/Journal.h"
#include "referencehost/FoundFile.h"

#include <fstream>
#include <memory>

namespace {

std::wstring ParentPath(const std::wstring& folderPath) {
    const size_t cut = folderPath.rfind(L'\\', folderPath.size() - 2);
    return folderPath.substr(0, cut + 1);
}

std::wstring LastName(const std::wstring& folderPath) {
    const std::wstring parent = ParentPath(folderPath);
    return folderPath.substr(parent.size(), folderPath.size() - parent.size() - 1);
}

// A folder and every folder below it take their new paths.
void MoveFolder(std::map<int32_t, VaultFolder>& folders, int32_t folderId, int32_t destFolderId,
                const std::wstring& newName) {
    const std::wstring oldPath = folders[folderId].path;
    const std::wstring parent = destFolderId == folderId ? ParentPath(oldPath) : folders[destFolderId].path;
    const std::wstring newPath = parent + (newName.empty() ? LastName(oldPath) : newName) + L"\\";
    for (auto& [id, folder] : folders) {
        if (folder.path.compare(0, oldPath.size(), oldPath) == 0) {
            folder.path = newPath + folder.path.substr(oldPath.size());
        }
    }
}

}  // namespace

int32_t SampleVault::AddFolder(const std::wstring& path) {
    tables_.folders[nextId_] = {path};
    return nextId_++;
}

int32_t SampleVault::AddFile(int32_t folderId, const std::wstring& name, std::vector<int32_t> references,
                             const std::string& body) {
    std::string content = "FWTEXT 1\r\ntitle " + standin::ToUtf8(name) + "\r\n";
    for (int32_t referenced : references) content += "REF " + standin::ToUtf8(FullPath(tables_, referenced)) + "\r\n";
    content += body;
    tables_.files[nextId_] = {folderId, name, std::move(references)};
    CreateDirectoryW((localRoot_ + tables_.folders[folderId].path).c_str(), nullptr);
    std::ofstream(FullPath(tables_, nextId_).c_str(), std::ios::binary) << content;
    return nextId_++;
}

void SampleVault::CreateLocalView() const {
    CreateDirectoryW(localRoot_.c_str(), nullptr);
    for (const auto& [id, folder] : tables_.folders) CreateDirectoryW((localRoot_ + folder.path).c_str(), nullptr);
}

std::wstring SampleVault::FullPath(const Tables& tables, int32_t fileId) const {
    const VaultFile& file = tables.files.at(fileId);
    return localRoot_ + tables.folders.at(file.folderId).path + file.name;
}

HRESULT SampleVault::ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) {
    for (auto& [id, path] : folderPaths) {
        if (const auto it = tables_.folders.find(id); it != tables_.folders.end()) path = it->second.path;
    }
    for (auto& [id, name] : fileNames) {
        if (const auto it = tables_.files.find(id); it != tables_.files.end()) name = it->second.name;
    }
    return S_OK;
}

// Every document that references a file the request moves stores paths that
// change: it is listed with those pairs, and with its own new place when it
// moves too.
HRESULT SampleVault::ListReferenceUpdates(MoveRequest* request) {
    Tables after = tables_;
    Apply(*request, after);
    for (const auto& [id, file] : tables_.files) {
        auto listed = std::make_unique<RefFile>();
        for (int32_t referenced : file.references) {
            const std::wstring before = FullPath(tables_, referenced), now = FullPath(after, referenced);
            if (before != now) listed->refs.Append(new MoveRef{before, now});
        }
        if (listed->refs.Empty()) continue;
        listed->oldPath = FullPath(tables_, id);
        if (FullPath(after, id) != listed->oldPath) listed->newPath = FullPath(after, id);
        request->refFiles.Append(listed.release());
    }
    return S_OK;
}

// All or nothing: when the database refuses an item, nothing moves.
HRESULT SampleVault::MoveInDatabase(MoveRequest* request) {
    RefuseItems(request);
    if (!request->dbErrors.Empty()) return S_OK;
    Apply(*request, tables_);
    return S_OK;
}

void SampleVault::Apply(const MoveRequest& request, Tables& tables) {
    for (const MoveItem* item : request.items) {
        if (item->fileId == 0) {
            MoveFolder(tables.folders, item->folderId, item->destFolderId, item->newName);
            continue;
        }
        VaultFile& file = tables.files[item->fileId];
        file.folderId = item->destFolderId;
        if (!item->newName.empty()) file.name = item->newName;
    }
}

// Files moved out of a folder the user may not move them from, files whose
// name the destination folder already holds, and new names that another file
// of the vault carries (names are unique in the whole vault) are refused.
void SampleVault::RefuseItems(MoveRequest* request) const {
    constexpr int32_t kNoPermission = 3, kNameAlreadyUsed = 4, kNameNotUnique = 6;
    for (const MoveItem* item : request->items) {
        if (item->fileId == 0) continue;
        const VaultFile& file = tables_.files.at(item->fileId);
        const std::wstring name = item->newName.empty() ? file.name : item->newName;
        // Another file of that name: in the destination folder, or anywhere.
        const auto other = [&](bool inDestination) -> const VaultFile* {
            for (const auto& [id, candidate] : tables_.files) {
                if (id == item->fileId || _wcsicmp(candidate.name.c_str(), name.c_str()) != 0) continue;
                if (!inDestination || candidate.folderId == item->destFolderId) return &candidate;
            }
            return nullptr;
        };
        int32_t kind = 0;
        std::wstring clashing;
        if (item->destFolderId != file.folderId && tables_.lockedFolders.count(file.folderId)) {
            kind = kNoPermission;
        } else if (other(true)) {
            kind = kNameAlreadyUsed;
        } else if (const VaultFile* elsewhere = item->newName.empty() ? nullptr : other(false)) {
            kind = kNameNotUnique;
            clashing = elsewhere->name;
        }
        if (kind == 0) continue;
        auto* refused = new DbMoveError;
        refused->fileId = item->fileId;
        refused->kind = kind;
        // A name that is not unique is reported under that name, beside the one it clashes with.
        refused->itemName = kind == kNameNotUnique ? name : file.name;
        refused->conflictName = clashing;
        refused->oldFolder = tables_.folders.at(file.folderId).path;
        refused->newFolder = tables_.folders.at(item->destFolderId).path;
        request->dbErrors.Append(refused);
    }
}

// The files anywhere in the vault that carry the name of one of the paths.
HRESULT SampleVault::FindFilesByName(int32_t, const std::vector<std::wstring>* names,
                                     std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t*) {
    if (!names || !found) return E_POINTER;
    for (const std::wstring& path : *names) {
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        for (const auto& [id, file] : tables_.files) {
            if (_wcsicmp(file.name.c_str(), name.c_str()) != 0) continue;
            found->push_back(std::make_shared<FoundFile>(id, file.folderId, file.name,
                                                         tables_.folders.at(file.folderId).path));
        }
    }
    return S_OK;
}
