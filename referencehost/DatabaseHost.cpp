#include "referencehost/DatabaseHost.h"

#include "referencehost/FoundFile.h"

#include "referencehost/CrashPoints.h"
#include "referencehost/MoveIntent.h"
#include "referencehost/Rights.h"

#include <windows.h>

#include <cwchar>
#include <memory>

namespace {

// Why the database refuses an item (the kinds the report words).
enum RefusalKind : int32_t {
    kItemMissing = 1,
    kCheckedOutElsewhere = 2,
    kNoPermission = 3,
    kNameAlreadyUsed = 4,
    kFolderIntoItself = 5,
    kNameNotUnique = 6,
};

// What a file's move or rename needs on its folder, and a folder's on its parent.
constexpr uint32_t kFileSourceNeeds = kRightRead | kRightMoveFiles;
constexpr uint32_t kFolderSourceNeeds = kRightRead | kRightMoveFiles | kRightMoveFolders;

std::wstring SettingOr(Database& db, const wchar_t* key, std::wstring otherwise) {
    Statement setting = db.Prepare("SELECT value FROM settings WHERE key = ?");
    setting.Bind(1, std::wstring(key));
    return setting.Step() ? setting.Text(0) : otherwise;
}

std::wstring ThisComputer() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? name : L"";
}

std::wstring Extension(const std::wstring& name) {
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? L"" : name.substr(dot);
}

std::wstring WithoutSlash(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

// The local moves that take the view from `before` to `after`: every folder
// whose path changes, parents first, then every file whose path changes.
std::vector<PathMove> LocalMoves(const Catalog& before, const Catalog& after, const std::wstring& root) {
    const auto oldFolders = before.FolderPaths(), newFolders = after.FolderPaths();
    std::vector<PathMove> moves;
    std::map<std::wstring, PathMove> folders;  // by new path, so that parents come first
    for (const auto& [id, oldPath] : oldFolders) {
        const std::wstring& newPath = newFolders.at(id);
        if (newPath != oldPath) folders[newPath] = {true, WithoutSlash(root + oldPath), WithoutSlash(root + newPath)};
    }
    for (auto& entry : folders) moves.push_back(std::move(entry.second));
    for (const auto& [id, file] : before.files) {
        const CatalogFile& moved = after.files.at(id);
        const std::wstring oldPath = root + oldFolders.at(file.folderId) + file.name;
        const std::wstring newPath = root + newFolders.at(moved.folderId) + moved.name;
        if (newPath != oldPath) moves.push_back({false, oldPath, newPath});
    }
    return moves;
}

std::vector<ReferenceChange> Rewrites(const MoveRequest& request) {
    std::vector<ReferenceChange> rewrites;
    for (const RefFile* file : request.refFiles) {
        const std::wstring& path = file->newPath.empty() ? file->oldPath : file->newPath;
        for (const MoveRef* ref : file->refs) rewrites.push_back({path, ref->oldRef, ref->newRef});
    }
    return rewrites;
}

// Time spent in a callback, added up.
class CallbackTimer {
public:
    explicit CallbackTimer(double& total) : total_(total) { QueryPerformanceCounter(&start_); }
    ~CallbackTimer() {
        LARGE_INTEGER end, frequency;
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);
        total_ += static_cast<double>(end.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    double& total_;
    LARGE_INTEGER start_;
};

}  // namespace

DatabaseHost::DatabaseHost(Database& db, std::wstring localRoot)
    : db_(db), catalog_(Catalog::Load(db)), localRoot_(std::move(localRoot)),
      user_(SettingOr(db, L"user", L"engineer")), computer_(ThisComputer()) {}

HRESULT DatabaseHost::ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) {
    const CallbackTimer timer(seconds_);
    for (auto& [id, path] : folderPaths) {
        if (catalog_.folders.count(id)) path = catalog_.FolderPath(id);
    }
    for (auto& [id, name] : fileNames) {
        if (const auto file = catalog_.files.find(id); file != catalog_.files.end()) name = file->second.name;
    }
    return S_OK;
}

// Every document that stores a path that changes is listed with those pairs,
// and with its own new place when it moves too. A request the database will
// refuse changes no reference.
HRESULT DatabaseHost::ListReferenceUpdates(MoveRequest* request) {
    const CallbackTimer timer(seconds_);
    return Guarded([&] { ListChangedReferences(request); });
}

void DatabaseHost::ListChangedReferences(MoveRequest* request) {
    listed_ = 0;
    for (const MoveItem* item : request->items) {
        if (Refusal(*item)) return;
    }
    Catalog after = catalog_;
    after.Apply(*request);
    const auto oldFolders = catalog_.FolderPaths(), newFolders = after.FolderPaths();
    const auto pathOf = [&](const Catalog& catalog, const std::map<int32_t, std::wstring>& folders, int32_t id) {
        const CatalogFile& file = catalog.files.at(id);
        return localRoot_ + folders.at(file.folderId) + file.name;
    };
    for (const auto& [id, file] : catalog_.files) {
        auto listed = std::make_unique<RefFile>();
        for (int32_t referenced : file.references) {
            const std::wstring before = pathOf(catalog_, oldFolders, referenced);
            const std::wstring now = pathOf(after, newFolders, referenced);
            if (before != now) listed->refs.Append(new MoveRef{before, now});
        }
        if (listed->refs.Empty()) continue;
        listed->oldPath = pathOf(catalog_, oldFolders, id);
        const std::wstring newPath = pathOf(after, newFolders, id);
        if (newPath != listed->oldPath) listed->newPath = newPath;
        request->refFiles.Append(listed.release());
        ++listed_;
    }
    progress_(std::to_wstring(listed_) + L" documents store paths that change");
}

// All or nothing: when the database refuses an item, nothing changes.
HRESULT DatabaseHost::MoveInDatabase(MoveRequest* request) {
    const CallbackTimer timer(seconds_);
    failure_.clear();
    const HRESULT hr = Guarded([&] {
        RefuseItems(request);
        if (!request->dbErrors.Empty()) return;
        Catalog after = catalog_;
        after.Apply(*request);
        Change(*request, after);
        catalog_ = std::move(after);
    });
    if (hr == S_OK && request->dbErrors.Empty()) ReachCrashPoint(CrashPoint::AfterDatabase);
    return hr;
}

void DatabaseHost::Change(const MoveRequest& request, const Catalog& after) {
    Transaction transaction(db_);
    Statement file = db_.Prepare("UPDATE files SET folder_id = ?, name = ? WHERE id = ?");
    Statement folder = db_.Prepare("UPDATE folders SET parent_id = ?, name = ? WHERE id = ?");
    for (const MoveItem* item : request.items) {
        if (item->fileId != 0) {
            const CatalogFile& moved = after.files.at(item->fileId);
            file.Bind(1, moved.folderId).Bind(2, moved.name).Bind(3, item->fileId).Run();
        } else {
            const CatalogFolder& moved = after.folders.at(item->folderId);
            folder.Bind(1, moved.parentId).Bind(2, moved.name).Bind(3, item->folderId).Run();
        }
    }
    MoveIntent intent;
    intent.moves = LocalMoves(catalog_, after, localRoot_);
    intent.rewrites = Rewrites(request);
    intent_ = intent.moves.empty() && intent.rewrites.empty() ? 0 : RecordIntent(db_, intent);
    transaction.Commit();
    progress_(L"the vault database changed; the local view follows (" + std::to_wstring(intent.moves.size()) +
              L" local moves)");
}

void DatabaseHost::RefuseItems(MoveRequest* request) const {
    for (const MoveItem* item : request->items) {
        if (std::unique_ptr<DbMoveError> refused = Refusal(*item)) request->dbErrors.Append(refused.release());
    }
}

// The first reason the database has to refuse the item, or null.
std::unique_ptr<DbMoveError> DatabaseHost::Refusal(const MoveItem& item) const {
    const bool isFile = item.fileId != 0;
    const bool known = (isFile ? catalog_.files.count(item.fileId) : catalog_.folders.count(item.folderId)) &&
                       catalog_.folders.count(item.destFolderId) && (isFile || item.folderId != kRootFolderId);
    auto refused = std::make_unique<DbMoveError>();
    refused->fileId = item.fileId;
    if (!known) {
        refused->kind = kItemMissing;
        return refused;
    }
    const int32_t source = isFile ? catalog_.files.at(item.fileId).folderId : catalog_.folders.at(item.folderId).parentId;
    const std::wstring& oldName = isFile ? catalog_.files.at(item.fileId).name : catalog_.folders.at(item.folderId).name;
    const std::wstring name = item.newName.empty() ? oldName : item.newName;
    const bool staysPut = isFile ? item.destFolderId == source
                                 : item.destFolderId == source || item.destFolderId == item.folderId;
    const int32_t target = staysPut ? source : item.destFolderId;
    refused->itemName = oldName;
    refused->oldFolder = catalog_.FolderPath(isFile ? source : item.folderId);
    refused->newFolder = staysPut && !isFile ? refused->oldFolder : catalog_.FolderPath(target);

    const uint32_t sourceNeeds = isFile ? kFileSourceNeeds : kFolderSourceNeeds;
    const uint32_t targetNeeds = staysPut ? 0 : isFile ? kRightAddFile : kRightAddFolder;
    const std::optional<int32_t> sameName = ItemNamed(isFile, target, name);
    if (isFile && CheckedOutElsewhere(item.fileId)) {
        refused->kind = kCheckedOutElsewhere;
    } else if ((RightsOn(source) & sourceNeeds) != sourceNeeds || (RightsOn(target) & targetNeeds) != targetNeeds) {
        refused->kind = kNoPermission;
    } else if (!isFile && !staysPut && catalog_.IsWithin(target, item.folderId)) {
        refused->kind = kFolderIntoItself;
    } else if (sameName && *sameName != (isFile ? item.fileId : item.folderId)) {
        refused->kind = kNameAlreadyUsed;
    } else if (const CatalogFile* other = isFile && !item.newName.empty() && MustBeUnique(name)
                                              ? OtherFileNamed(name, item.fileId)
                                              : nullptr) {
        // Reported under the new name, beside the one it clashes with.
        refused->kind = kNameNotUnique;
        refused->itemName = name;
        refused->conflictName = other->name;
    } else {
        return nullptr;
    }
    return refused;
}

// Through the indexes by parent and name, so that a request of many items
// does not walk the whole catalogue for each.
std::optional<int32_t> DatabaseHost::ItemNamed(bool isFile, int32_t folderId, const std::wstring& name) const {
    Statement named = db_.Prepare(isFile ? "SELECT id FROM files WHERE folder_id = ? AND name = ? COLLATE NOCASE"
                                         : "SELECT id FROM folders WHERE parent_id = ? AND name = ? COLLATE NOCASE");
    named.Bind(1, folderId).Bind(2, name);
    if (!named.Step()) return std::nullopt;
    return static_cast<int32_t>(named.Int(0));
}

uint32_t DatabaseHost::RightsOn(int32_t folderId) const {
    Statement rights = db_.Prepare("SELECT rights FROM folder_rights WHERE user = ? AND folder_id = ?");
    rights.Bind(1, user_).Bind(2, folderId);
    return rights.Step() ? static_cast<uint32_t>(rights.Int(0)) : 0;
}

bool DatabaseHost::CheckedOutElsewhere(int32_t fileId) const {
    Statement checkout = db_.Prepare("SELECT computer FROM checkouts WHERE file_id = ?");
    checkout.Bind(1, fileId);
    return checkout.Step() && _wcsicmp(checkout.Text(0).c_str(), computer_.c_str()) != 0;
}

bool DatabaseHost::MustBeUnique(const std::wstring& name) const {
    Statement unique = db_.Prepare("SELECT 1 FROM unique_extensions WHERE extension = ?");
    unique.Bind(1, Extension(name));
    return unique.Step();
}

const CatalogFile* DatabaseHost::OtherFileNamed(const std::wstring& name, int32_t except) const {
    Statement named = db_.Prepare("SELECT id FROM files WHERE name = ? COLLATE NOCASE AND id <> ? LIMIT 1");
    named.Bind(1, name).Bind(2, except);
    return named.Step() ? &catalog_.files.at(static_cast<int32_t>(named.Int(0))) : nullptr;
}

// The files anywhere in the vault that carry the name of one of the paths.
HRESULT DatabaseHost::FindFilesByName(int32_t, const std::vector<std::wstring>* names,
                                      std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t*) {
    const CallbackTimer timer(seconds_);
    if (!names || !found) return E_POINTER;
    return Guarded([&] {
        Statement named = db_.Prepare("SELECT id, folder_id, name FROM files WHERE name = ? COLLATE NOCASE");
        for (const std::wstring& path : *names) {
            named.Bind(1, path.substr(path.rfind(L'\\') + 1));
            while (named.Step()) {
                const auto folderId = static_cast<int32_t>(named.Int(1));
                found->push_back(std::make_shared<FoundFile>(static_cast<int32_t>(named.Int(0)), folderId,
                                                             named.Text(2), catalog_.FolderPath(folderId)));
            }
            named.Reset();
        }
    });
}

// Nothing but an HRESULT may reach the module: a database that fails keeps
// its words for the command's output.
template <class Work>
HRESULT DatabaseHost::Guarded(Work work) {
    try {
        work();
        return S_OK;
    } catch (const DatabaseError& error) {
        failure_ = error.what();
    } catch (const std::bad_alloc&) {
        failure_ = "out of memory";
        return E_OUTOFMEMORY;
    }
    return E_FAIL;
}
