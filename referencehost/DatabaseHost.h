// The reference host: MoveHost over the vault database. Names resolve from
// the catalogue; a move is one transaction that changes the folders and
// files, or refuses items one by one, and records what the local view must
// do; the files whose references change come from the reference graph.
#pragma once

#include "GhMove.h"
#include "referencehost/Catalog.h"
#include "referencehost/Database.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class DatabaseHost : public MoveHost {
public:
    DatabaseHost(Database& db, std::wstring localRoot);

    HRESULT ListReferenceUpdates(MoveRequest* request) override;
    HRESULT MoveInDatabase(MoveRequest* request) override;
    HRESULT ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) override;
    HRESULT FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                            std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t* localRoot) override;

    const Catalog& Vault() const { return catalog_; }
    const std::wstring& LocalRoot() const { return localRoot_; }
    // The intent that the last database change recorded; 0 when none.
    int64_t PendingIntent() const { return intent_; }
    // Why the database could not take the last change, when it could not.
    const std::string& DatabaseFailure() const { return failure_; }
    // Seconds spent in the callbacks so far.
    double CallbackSeconds() const { return seconds_; }
    // Told each step of a move as it is reached.
    void OnProgress(std::function<void(const std::wstring&)> progress) { progress_ = std::move(progress); }
    // How many documents the last ListReferenceUpdates listed.
    int ListedDocuments() const { return listed_; }

private:
    template <class Work>
    HRESULT Guarded(Work work);
    void ListChangedReferences(MoveRequest* request);
    void RefuseItems(MoveRequest* request) const;
    std::unique_ptr<DbMoveError> Refusal(const MoveItem& item) const;
    std::optional<int32_t> ItemNamed(bool isFile, int32_t folderId, const std::wstring& name) const;
    uint32_t RightsOn(int32_t folderId) const;
    bool CheckedOutElsewhere(int32_t fileId) const;
    bool MustBeUnique(const std::wstring& name) const;
    const CatalogFile* OtherFileNamed(const std::wstring& name, int32_t except) const;
    void Change(const MoveRequest& request, const Catalog& after);

    Database& db_;
    Catalog catalog_;
    std::wstring localRoot_;
    std::wstring user_;
    std::wstring computer_;
    int64_t intent_ = 0;
    std::string failure_;
    double seconds_ = 0;
    int listed_ = 0;
    std::function<void(const std::wstring&)> progress_ = [](const std::wstring&) {};
};
