#include "RecordingHost.h"

HRESULT RecordingHost::ListReferenceUpdates(MoveRequest* request) {
    calls.push_back("ListReferenceUpdates");
    if (onListReferenceUpdates) onListReferenceUpdates(request);
    return S_OK;
}

HRESULT RecordingHost::MoveInDatabase(MoveRequest* request) {
    calls.push_back("MoveInDatabase");
    if (onMoveInDatabase) onMoveInDatabase(request);
    return moveResult;
}

HRESULT RecordingHost::ResolveNames(FolderPathMap& folders, FileNameMap& files) {
    calls.push_back("ResolveNames");
    for (auto& [id, path] : folders) {
        askedFolderIds.push_back(id);
        if (!path.empty()) askedWithEmptyValues = false;
        if (const auto it = folderPaths.find(id); it != folderPaths.end()) path = it->second;
    }
    for (auto& [id, name] : files) {
        askedFileIds.push_back(id);
        if (!name.empty()) askedWithEmptyValues = false;
        if (const auto it = fileNames.find(id); it != fileNames.end()) name = it->second;
    }
    if (onResolveNames) onResolveNames(folders, files);
    return resolveResult;
}

HRESULT RecordingHost::FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                                       std::vector<std::shared_ptr<FoundFileRecord>>* found,
                                       const wchar_t* localRoot) {
    calls.push_back("FindFilesByName");
    finds.push_back({hostContext, names ? *names : std::vector<std::wstring>(), localRoot ? localRoot : L"(null)"});
    if (found) *found = std::move(foundFiles);  // handed over even on failure: the caller releases them
    return findResult;
}

OwnedRequest::OwnedRequest(std::wstring localRoot) { request_.localRoot = std::move(localRoot); }

OwnedRequest::~OwnedRequest() {
    request_.items.DeleteAll();
    request_.localItems.DeleteAll();
    request_.refFiles.DeleteAll();
    request_.dbErrors.DeleteAll();
    request_.errors.DeleteAll();
    request_.refErrors.DeleteAll();
}

MoveItem* OwnedRequest::AddFile(int32_t fileId, int32_t folderId, int32_t destFolderId, std::wstring newName) {
    auto* item = new MoveItem{fileId, folderId, destFolderId, std::move(newName)};
    request_.items.Append(item);
    return item;
}

MoveItem* OwnedRequest::AddFolder(int32_t folderId, int32_t destFolderId, std::wstring newName) {
    return AddFile(0, folderId, destFolderId, std::move(newName));
}

LocalItem* OwnedRequest::AddLocal(bool isFolder, std::wstring oldPath, std::wstring newPath, int32_t destFolderId) {
    auto* item = new LocalItem{isFolder, std::move(oldPath), std::move(newPath), destFolderId};
    request_.localItems.Append(item);
    return item;
}
