// The vault's folders and files as a command sees them: read from the
// database once, then kept in step with what the command changes.
#pragma once

#include "GhMove.h"
#include "referencehost/Database.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

inline constexpr int32_t kRootFolderId = 1;

struct CatalogFolder {
    int32_t parentId = 0;  // 0 for the root
    std::wstring name;     // empty for the root
};

struct CatalogFile {
    int32_t folderId = 0;
    std::wstring name;
    std::vector<int32_t> references;  // files whose paths this document stores
};

class Catalog {
public:
    static Catalog Load(Database& db);

    std::map<int32_t, CatalogFolder> folders;
    std::map<int32_t, CatalogFile> files;

    // "\A\B\" below the local root; the root folder is "\".
    std::wstring FolderPath(int32_t folderId) const;
    // Every folder's path at once.
    std::map<int32_t, std::wstring> FolderPaths() const;
    std::wstring FilePath(int32_t fileId) const { return FolderPath(files.at(fileId).folderId) + files.at(fileId).name; }
    // Vault paths as users type them: "A\B", relative to the root, "" for the root.
    std::optional<int32_t> FindFolder(const std::wstring& vaultPath) const;
    std::optional<int32_t> FindFile(const std::wstring& vaultPath) const;
    std::optional<int32_t> ChildFolder(int32_t parentId, const std::wstring& name) const;
    std::optional<int32_t> FileIn(int32_t folderId, const std::wstring& name) const;
    // True when `folderId` is `ancestorId` or lies below it.
    bool IsWithin(int32_t folderId, int32_t ancestorId) const;

    // What the request's items do to the folders and files.
    void Apply(const MoveRequest& request);
};

// The user's vault path with "\" separators and no leading or trailing one.
std::wstring NormalVaultPath(std::wstring path);
