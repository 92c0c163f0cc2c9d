// A host on the public contract alone: records every callback with its arguments, answers what the test programs.
#pragma once

#include "GhMove.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class RecordingHost : public MoveHost {
public:
    // Programmed answers.
    FolderPathMap folderPaths;           // values ResolveNames gives; unknown ids stay empty
    FileNameMap fileNames;
    HRESULT resolveResult = S_OK;
    std::function<void(FolderPathMap&, FileNameMap&)> onResolveNames;  // after the values above, e.g. to drop ids
    HRESULT moveResult = S_OK;
    std::function<void(MoveRequest*)> onListReferenceUpdates;  // e.g. fill refFiles
    std::function<void(MoveRequest*)> onMoveInDatabase;        // e.g. fill dbErrors
    std::vector<std::shared_ptr<FoundFileRecord>> foundFiles;  // handed over by the next FindFilesByName
    HRESULT findResult = S_OK;

    // What happened, in order.
    std::vector<std::string> calls;
    std::vector<int32_t> askedFolderIds;  // keys of the folder map as given
    std::vector<int32_t> askedFileIds;
    bool askedWithEmptyValues = true;
    struct FindRequest {
        int32_t hostContext;
        std::vector<std::wstring> names;
        std::wstring localRoot;
    };
    std::vector<FindRequest> finds;

    HRESULT ListReferenceUpdates(MoveRequest* request) override;
    HRESULT MoveInDatabase(MoveRequest* request) override;
    HRESULT ResolveNames(FolderPathMap& folders, FileNameMap& files) override;
    HRESULT FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                            std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t* localRoot) override;
};

// A request the test owns; everything in its lists is deleted with it, as a host does.
class OwnedRequest {
public:
    explicit OwnedRequest(std::wstring localRoot = L"");
    ~OwnedRequest();
    OwnedRequest(const OwnedRequest&) = delete;
    OwnedRequest& operator=(const OwnedRequest&) = delete;

    MoveRequest* operator->() { return &request_; }
    MoveRequest* get() { return &request_; }

    MoveItem* AddFile(int32_t fileId, int32_t folderId, int32_t destFolderId, std::wstring newName = L"");
    MoveItem* AddFolder(int32_t folderId, int32_t destFolderId, std::wstring newName = L"");
    LocalItem* AddLocal(bool isFolder, std::wstring oldPath, std::wstring newPath, int32_t destFolderId = 0);

private:
    MoveRequest request_;
};

template <class T>
std::vector<T*> Elements(const Lst<T*>& list) {
    std::vector<T*> out;
    for (T* element : list) out.push_back(element);
    return out;
}
