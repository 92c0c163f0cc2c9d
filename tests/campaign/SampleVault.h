// The campaign's vault client: a small in-memory vault database whose local
// view is a real folder tree, and the MoveHost that the module calls back.
#pragma once

#include "GhMove.h"

#include <map>
#include <set>
#include <string>
#include <vector>

struct VaultFolder {
    std::wstring path;  // below the local root: "\A\B\", the root folder is "\"
};

struct VaultFile {
    int32_t folderId;
    std::wstring name;
    std::vector<int32_t> references;  // files this document stores the paths of
};

class SampleVault : public MoveHost {
public:
    explicit SampleVault(std::wstring localRoot) : localRoot_(std::move(localRoot)) {}

    int32_t AddFolder(const std::wstring& path);
    // Writes the file into the local view as a document of the CAD-like text
    // format, storing the full paths of the files it references, then `body`.
    int32_t AddFile(int32_t folderId, const std::wstring& name, std::vector<int32_t> references = {},
                    const std::string& body = "");
    // Writes every folder and file of the vault into the local view.
    void CreateLocalView() const;
    // The user may not move files out of the folder: the database refuses them.
    void DenyFileMovesFrom(int32_t folderId) { tables_.lockedFolders.insert(folderId); }

    const std::wstring& LocalRoot() const { return localRoot_; }

    HRESULT ListReferenceUpdates(MoveRequest* request) override;
    HRESULT MoveInDatabase(MoveRequest* request) override;
    HRESULT ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) override;
    HRESULT FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                            std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t* localRoot) override;

private:
    struct Tables {
        std::map<int32_t, VaultFolder> folders;
        std::map<int32_t, VaultFile> files;
        std::set<int32_t> lockedFolders;  // files may not be moved out of these
    };

    // Appends the items the database refuses to `request->dbErrors`.
    void RefuseItems(MoveRequest* request) const;
    // What the request does to the vault's tables.
    static void Apply(const MoveRequest& request, Tables& tables);
    std::wstring FullPath(const Tables& tables, int32_t fileId) const;

    std::wstring localRoot_;
    Tables tables_;
    int32_t nextId_ = 1;
};
