// The sample vault client: a small in-memory vault database whose local view
// is a real folder tree, and the MoveHost that the module calls back.
#pragma once

#include "GhMove.h"

#include <map>
#include <string>
#include <vector>

struct VaultFolder {
    std::wstring path;  // below the local root: "\A\B\", the root folder is "\"
};

struct VaultFile {
    int32_t folderId;
    std::wstring name;
    bool checkedOutElsewhere = false;
};

class SampleVault : public MoveHost {
public:
    explicit SampleVault(std::wstring localRoot) : localRoot_(std::move(localRoot)) {}

    int32_t AddFolder(const std::wstring& path);
    int32_t AddFile(int32_t folderId, const std::wstring& name, const std::string& content);
    // Writes every folder and file of the vault into the local view.
    void CreateLocalView() const;
    // Another user has the file checked out: the database refuses to move it.
    void CheckOutElsewhere(int32_t fileId) { files_[fileId].checkedOutElsewhere = true; }

    const std::wstring& LocalRoot() const { return localRoot_; }
    int32_t FolderId(const std::wstring& path) const;
    int32_t FileId(const std::wstring& name) const;

    HRESULT ListReferenceUpdates(MoveRequest* request) override;
    HRESULT MoveInDatabase(MoveRequest* request) override;
    HRESULT ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) override;
    HRESULT FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                            std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t* localRoot) override;

private:
    // Appends the items the database refuses to `request->dbErrors`.
    void RefuseItems(MoveRequest* request) const;
    void MoveFolder(int32_t folderId, int32_t destFolderId, const std::wstring& newName);

    std::wstring localRoot_;
    std::map<int32_t, VaultFolder> folders_;
    std::map<int32_t, VaultFile> files_;
    int32_t nextId_ = 1;
};
