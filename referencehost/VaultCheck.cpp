#include "referencehost/VaultCheck.h"

#include "common/Handles.h"
#include "installation/formwright/Plugins.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>

namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(towlower(c)); });
    return text;
}

// Every folder (with a trailing backslash) and file below `folder`.
// Keyed by the lower-case path, as the file system compares names.
void ListDisk(const std::wstring& folder, std::map<std::wstring, std::wstring>& found) {
    WIN32_FIND_DATAW data;
    const UniqueFindHandle find(FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::wstring path = folder + name + (isFolder ? L"\\" : L"");
        found.emplace(Lower(path), path);
        if (isFolder) ListDisk(path, found);
    } while (FindNextFileW(find.Get(), &data));
}

void CheckDatabase(Database& db, std::vector<std::wstring>& problems) {
    Statement integrity = db.Prepare("PRAGMA integrity_check");
    while (integrity.Step()) {
        if (integrity.Text(0) != L"ok") problems.push_back(L"database: " + integrity.Text(0));
    }
    Statement keys = db.Prepare("PRAGMA foreign_key_check");
    while (keys.Step()) problems.push_back(L"database: a row of " + keys.Text(0) + L" refers to nothing");
    Statement intents = db.Prepare("SELECT count(*) FROM move_intents");
    if (intents.Step() && intents.Int(0) > 0) {
        problems.push_back(L"an interrupted move is not finished (" + std::to_wstring(intents.Int(0)) +
                           L" left; run recover)");
    }
}

// What a document stores against the paths of the files it references.
void CheckReferences(const std::wstring& path, const std::vector<std::wstring>& expected,
                     std::vector<std::wstring>& problems) {
    const auto stored = formwright::StoredReferences(path);
    if (!stored) {
        if (!expected.empty()) problems.push_back(path + L": its references cannot be read");
        return;
    }
    std::multiset<std::wstring> want, have;
    for (const std::wstring& reference : expected) want.insert(Lower(reference));
    for (const std::wstring& reference : *stored) have.insert(Lower(reference));
    for (const std::wstring& reference : *stored) {
        if (!want.count(Lower(reference))) problems.push_back(path + L": stores " + reference + L", which the vault does not reference");
    }
    for (const std::wstring& reference : expected) {
        if (!have.count(Lower(reference))) problems.push_back(path + L": does not store " + reference);
    }
}

}  // namespace

std::vector<std::wstring> CheckVault(Database& db, const Catalog& catalog, const std::wstring& localRoot) {
    std::vector<std::wstring> problems;
    CheckDatabase(db, problems);
    std::map<std::wstring, std::wstring> onDisk;
    ListDisk(localRoot + L"\\", onDisk);
    std::set<std::wstring> inVault;
    const auto folders = catalog.FolderPaths();
    for (const auto& [id, path] : folders) {
        if (id == kRootFolderId) continue;
        inVault.insert(Lower(localRoot + path));
        if (!onDisk.count(Lower(localRoot + path))) problems.push_back(L"folder missing on disk: " + localRoot + path);
    }
    for (const auto& [id, file] : catalog.files) {
        const std::wstring path = localRoot + folders.at(file.folderId) + file.name;
        inVault.insert(Lower(path));
        if (!onDisk.count(Lower(path))) {
            problems.push_back(L"file missing on disk: " + path);
            continue;
        }
        std::vector<std::wstring> expected;
        for (int32_t referenced : file.references) {
            const CatalogFile& target = catalog.files.at(referenced);
            expected.push_back(localRoot + folders.at(target.folderId) + target.name);
        }
        CheckReferences(path, expected, problems);
    }
    for (const auto& [lower, path] : onDisk) {
        if (!inVault.count(lower)) problems.push_back(L"on disk but not in the vault: " + path);
    }
    return problems;
}
