#include "referencehost/VaultBuilder.h"

#include "installation/formwright/Plugins.h"
#include "referencehost/Rights.h"
#include "referencehost/UsageError.h"
#include "referencehost/VaultSchema.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

namespace {

constexpr wchar_t kUser[] = L"engineer";
constexpr wchar_t kOtherComputer[] = L"DRAFTING-07";

enum class Format { Text, Compound };

class VaultBuilder {
public:
    VaultBuilder(Database& db, std::wstring localRoot)
        : db_(db), root_(std::move(localRoot)), transaction_(db),
          addFolder_(db.Prepare("INSERT INTO folders(id, parent_id, name) VALUES(?, ?, ?)")),
          addFile_(db.Prepare("INSERT INTO files(id, folder_id, name) VALUES(?, ?, ?)")),
          addReference_(db.Prepare("INSERT INTO file_references(file_id, referenced_id) VALUES(?, ?)")),
          addRights_(db.Prepare("INSERT INTO folder_rights(user, folder_id, rights) VALUES(?, ?, ?)")) {
        if (!CreateDirectoryW(root_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            throw UsageError("the local view's folder cannot be made");
        }
        db_.Prepare("INSERT INTO settings VALUES('user', ?)").Bind(1, std::wstring(kUser)).Run();
        addFolder_.Bind(1, nextId_).BindNull(2).Bind(3, std::wstring()).Run();
        paths_[nextId_] = L"\\";
        Rights(nextId_++, kAllRights);
    }

    void Commit() { transaction_.Commit(); }

    int32_t Folder(int32_t parent, const std::wstring& name, uint32_t rights = kAllRights) {
        const int32_t id = nextId_++;
        addFolder_.Bind(1, id).Bind(2, parent).Bind(3, name).Run();
        paths_[id] = paths_.at(parent) + name + L"\\";
        CreateDirectoryW((root_ + paths_[id]).c_str(), nullptr);
        Rights(id, rights);
        return id;
    }

    int32_t Document(int32_t folder, const std::wstring& name, const std::vector<int32_t>& references = {},
                     Format format = Format::Text) {
        const int32_t id = nextId_++;
        addFile_.Bind(1, id).Bind(2, folder).Bind(3, name).Run();
        files_[id] = root_ + paths_.at(folder) + name;
        std::vector<std::wstring> stored;
        for (int32_t referenced : references) {
            addReference_.Bind(1, id).Bind(2, referenced).Run();
            stored.push_back(files_.at(referenced));
        }
        const HRESULT hr = format == Format::Text ? formwright::WriteTextDocument(files_[id], name, stored)
                                                  : formwright::WriteCompoundDocument(files_[id], stored);
        if (FAILED(hr)) throw UsageError("a document of the new vault cannot be written");
        return id;
    }

    void CheckedOutElsewhere(int32_t file) {
        db_.Prepare("INSERT INTO checkouts VALUES(?, ?, ?)")
            .Bind(1, file)
            .Bind(2, std::wstring(L"designer"))
            .Bind(3, std::wstring(kOtherComputer))
            .Run();
    }

    void MustBeUnique(const std::wstring& extension) {
        db_.Prepare("INSERT INTO unique_extensions VALUES(?)").Bind(1, extension).Run();
    }

private:
    void Rights(int32_t folder, uint32_t rights) {
        addRights_.Bind(1, std::wstring(kUser)).Bind(2, folder).Bind(3, static_cast<int64_t>(rights)).Run();
    }

    Database& db_;
    std::wstring root_;
    Transaction transaction_;
    Statement addFolder_, addFile_, addReference_, addRights_;
    std::map<int32_t, std::wstring> paths_;  // folder paths below the root
    std::map<int32_t, std::wstring> files_;  // full local paths
    int32_t nextId_ = 1;
};

}  // namespace

void BuildEmptyVault(Database& db, const std::wstring& localRoot) {
    CreateSchema(db);
    VaultBuilder(db, localRoot).Commit();
}

void BuildSampleVault(Database& db, const std::wstring& localRoot) {
    CreateSchema(db);
    VaultBuilder vault(db, localRoot);
    for (const wchar_t* extension : {L".prt", L".asm", L".drw"}) vault.MustBeUnique(extension);
    constexpr int32_t kRoot = 1;
    const int32_t projects = vault.Folder(kRoot, L"Projects");
    const int32_t gearbox = vault.Folder(projects, L"Gearbox");
    const int32_t drawings = vault.Folder(gearbox, L"Drawings");
    const int32_t pump = vault.Folder(projects, L"Pump");
    const int32_t released = vault.Folder(kRoot, L"Released", kAllRights & ~kRightMoveFiles);
    vault.Folder(kRoot, L"Archive");

    vault.Document(projects, L"Cover.prt");
    const int32_t shaft = vault.Document(gearbox, L"shaft.prt");
    const int32_t housing = vault.Document(gearbox, L"housing.prt", {}, Format::Compound);
    const int32_t assembly = vault.Document(gearbox, L"gearbox.asm", {shaft, housing});
    vault.Document(drawings, L"gearbox.drw", {assembly, shaft}, Format::Compound);
    const int32_t impeller = vault.Document(pump, L"impeller.prt");
    const int32_t pumpHousing = vault.Document(pump, L"housing.prt");  // the name Gearbox's housing carries too
    vault.Document(pump, L"pump.asm", {impeller, pumpHousing});
    vault.CheckedOutElsewhere(impeller);
    const int32_t bracket = vault.Document(released, L"bracket.prt", {}, Format::Compound);
    vault.Document(released, L"mount.asm", {bracket, shaft});
    vault.Commit();
}

void BuildGeneratedVault(Database& db, const std::wstring& localRoot, int files) {
    constexpr int kPerFolder = 100, kFoldersPerGroup = 10, kPartsPerAssembly = 9;
    CreateSchema(db);
    VaultBuilder vault(db, localRoot);
    constexpr int32_t kRoot = 1;
    const int32_t projects = vault.Folder(kRoot, L"Projects");
    vault.Folder(kRoot, L"Archive");
    int32_t group = 0, folder = 0;
    std::vector<int32_t> parts;
    for (int n = 0; n < files; ++n) {
        if (n % (kPerFolder * kFoldersPerGroup) == 0) group = vault.Folder(projects, L"Set-" + std::to_wstring(n / 1000));
        if (n % kPerFolder == 0) folder = vault.Folder(group, L"Group-" + std::to_wstring(n / kPerFolder % 10));
        const std::wstring number = std::to_wstring(100000 + n).substr(1);
        if (parts.size() == kPartsPerAssembly) {
            vault.Document(folder, L"assembly-" + number + L".asm", parts);
            parts.clear();
        } else {
            parts.push_back(vault.Document(folder, L"part-" + number + L".prt"));
        }
        if (n % kPerFolder == kPerFolder - 1) parts.clear();
    }
    vault.Commit();
}
