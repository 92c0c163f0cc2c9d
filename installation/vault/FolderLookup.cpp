#include "installation/vault/FolderLookup.h"

#include "installation/standin/Journal.h"
#include "installation/standin/SqliteHandles.h"
#include "installation/vault/VaultCalls.h"
#include "installation/vault/VaultClass.h"

#include <cwchar>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vault {

namespace {

std::wstring WithoutTrailingBackslashes(std::wstring path) {
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

// The names of the folders from `root` down to `path`, none for the root
// itself; nothing when the path is not below the root.
std::optional<std::vector<std::wstring>> NamesBelow(const std::wstring& root, const std::wstring& path) {
    const std::wstring top = WithoutTrailingBackslashes(root), full = WithoutTrailingBackslashes(path);
    if (_wcsnicmp(full.c_str(), top.c_str(), top.size()) != 0) return std::nullopt;
    if (full.size() == top.size()) return std::vector<std::wstring>{};
    if (full[top.size()] != L'\\') return std::nullopt;  // C:\V\viewer is not below C:\V\view
    std::vector<std::wstring> names;
    std::wstringstream below(full.substr(top.size() + 1));
    for (std::wstring name; std::getline(below, name, L'\\');) names.push_back(name);
    return names;
}

// The id of the folder at `path` in the database whose folders lie below the
// local `root`, walked down from the root folder (no parent, empty name).
int32_t DatabaseFolderId(const std::wstring& database, const std::wstring& root, const std::wstring& path) {
    const std::optional<std::vector<std::wstring>> names = NamesBelow(root, path);
    if (!names) return 0;
    const standin::SqliteDatabase db = standin::OpenForReading(database);
    if (!db) return 0;
    const standin::SqliteStatement child =
        standin::Prepare(db.get(), "SELECT id FROM folders WHERE parent_id IS ? AND name = ? COLLATE NOCASE");
    std::optional<int64_t> id = standin::FirstInteger(child.get(), std::optional<int64_t>(), std::wstring());
    for (const std::wstring& name : *names) {
        if (!id) break;
        id = standin::FirstInteger(child.get(), id, name);
    }
    return static_cast<int32_t>(id.value_or(0));
}

// The configured id of the folder at `path`; 0 when there is none.
int32_t ConfiguredFolderId(const std::wstring& path) {
    for (const std::wstring& line : standin::ConfigValues(kVaultComponent, L"folder")) {
        const size_t bar = line.rfind(L'|');
        if (bar == std::wstring::npos) continue;
        if (_wcsicmp(line.substr(0, bar).c_str(), path.c_str()) == 0) {
            return static_cast<int32_t>(wcstol(line.c_str() + bar + 1, nullptr, 0));
        }
    }
    return 0;
}

int32_t FolderId(const std::wstring& path) {
    const std::vector<std::wstring> database = standin::SplitFields(standin::Config(kVaultComponent, L"database"));
    if (database.size() == 2) return DatabaseFolderId(database[0], database[1], path);
    return ConfiguredFolderId(path);
}

}  // namespace

HRESULT Folder::GetFolderId(int32_t* id) {
    const HRESULT hr = Called({L"GetFolderId", std::to_wstring(id_)});
    if (FAILED(hr)) return hr;
    if (!id) return E_POINTER;
    *id = id_;
    return S_OK;
}

HRESULT FolderLookup::FindFolderByPath(BSTR path, IVaultFolder** folder) {
    if (folder) *folder = nullptr;
    const std::wstring text = Text(path);
    const HRESULT hr = Called({L"FindFolderByPath", text});
    if (FAILED(hr)) return hr;
    if (!folder) return E_POINTER;
    if (const int32_t id = FolderId(text)) *folder = standin::NewObject<Folder>(Vault(), id);
    return S_OK;
}

}  // namespace vault
