// Local move planning: the plan is built in the order and with the
// repetitions that execution relies on; what is taken or refused is recorded
// as it is found.
#include "localview/LocalMovePlanning.h"

#include "common/PathExists.h"
#include "common/Ptr.h"
#include "common/StringUtil.h"
#include "localview/FolderListings.h"
#include "localview/TargetNames.h"

#include <cwchar>
#include <map>
#include <memory>

namespace {

Ptr<LocalMoveData> NewEntry(MoveItem* item, std::wstring oldPath, std::wstring newPath, bool isFolder) {
    return Ptr<LocalMoveData>(
        std::make_unique<LocalMoveData>(LocalMoveData{item, std::move(oldPath), std::move(newPath), isFolder}));
}

Lst<LocalMoveData*>::Node* Link(Lst<LocalMoveData*>& list, LocalMoveData* entry, Lst<LocalMoveData*>::Node* before) {
    return before ? list.InsertBefore(before, entry) : list.Append(entry);
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    std::wstring path;
    path.reserve(folder.size() + 1 + name.size());
    return path.append(folder).append(1, L'\\').append(name);
}

// What the scans find goes straight into the list, so it needs no shared holder.
std::unique_ptr<LocalMoveData> EntryFor(const std::wstring& oldFolder, const std::wstring& newFolder,
                                        const FolderListings::Entry& found) {
    return std::make_unique<LocalMoveData>(
        LocalMoveData{nullptr, Joined(oldFolder, found.name), Joined(newFolder, found.name), found.isFolder});
}

// The host's value for an identifier, or null when it left the identifier out
// or empty: no folder path below the root is empty (the root folder's is a
// single backslash), and neither is a file name, so an empty value names no
// place and the item's local part is not planned at all. Taken as an empty path
// part it would name the root itself or a place beside it.
const std::wstring* Resolved(const std::map<int32_t, std::wstring>& map, int32_t id) {
    const auto found = map.find(id);
    return found == map.end() || found->second.empty() ? nullptr : &found->second;
}

// Appends to `moves` and records in `errors` as it goes.
class Planner {
public:
    Planner(MoveRequest& request, Lst<LocalMoveData*>& moves, MoveErrors& errors)
        : request_(request), moves_(moves), errors_(errors) {}

    void PlanRequestItem(MoveItem& item, const FileNameMap& fileNames, const FolderPathMap& folderPaths,
                         FolderListings& listings);
    void PlanLocalItem(LocalItem& item, const FolderPathMap& folderPaths);
    void ExpandFolders(FolderListings& listings);

private:
    using PlannedNode = Lst<LocalMoveData*>::Node;

    void ScanSourceTree(const std::wstring& oldFolder, const std::wstring& newFolder, bool newFolderExists,
                        FolderListings& listings);
    void ExpandFolder(PlannedNode* node, const LocalMoveData& entry, FolderListings& listings);
    PlannedNode* LinkPlanned(Ptr<LocalMoveData>& entry, PlannedNode* before = nullptr);
    PlannedNode* LinkPlanned(std::unique_ptr<LocalMoveData> entry, PlannedNode* before = nullptr);

    MoveRequest& request_;
    Lst<LocalMoveData*>& moves_;
    MoveErrors& errors_;
};

// An item whose folders or file name the host did not resolve is dropped.
void Planner::PlanRequestItem(MoveItem& item, const FileNameMap& fileNames, const FolderPathMap& folderPaths,
                              FolderListings& listings) {
    Ptr<LocalMoveData> entry = NewEntry(&item, {}, {}, item.fileId == 0);
    const std::wstring* const destination = Resolved(folderPaths, item.destFolderId);
    if (!destination) return;
    const std::wstring* const source = Resolved(folderPaths, item.folderId);
    if (!source) return;

    const std::wstring& root = request_.localRoot;
    entry->newPath = root + *destination;
    std::wstring oldName;
    if (!entry->isFolder) {
        const std::wstring* const name = Resolved(fileNames, item.fileId);
        if (!name) return;
        oldName = *name;
        entry->newPath += item.newName.empty() ? oldName : item.newName;
    } else if (item.newName.empty()) {
        // The folder's own name comes with its trailing backslash.
        entry->newPath = StripTrailingBackslashes(entry->newPath + FileNamePart(*source));
    } else {
        entry->newPath += item.newName;
    }
    entry->oldPath = StripTrailingBackslashes(root + *source + oldName);

    const LocalMoveData& planned = *LinkPlanned(entry)->value;
    // Planning changes nothing on disk, so one look serves the scan and the test.
    const bool targetExists = PathExists(planned.newPath);
    if (planned.isFolder) ScanSourceTree(planned.oldPath, planned.newPath, targetExists, listings);
    if (!item.newName.empty() && !CheckTargetName(item.newName, planned.oldPath, planned.newPath, errors_)) return;
    // A case-only rename, or an item that stays where it is, finds itself.
    if (targetExists && _wcsicmp(planned.newPath.c_str(), planned.oldPath.c_str()) != 0) {
        errors_.Add(planned.oldPath, planned.newPath, E_QOR_NAME_ALREADY_EXISTS);
    }
}

// A local item without a new path gets one in the request from its
// destination folder.
void Planner::PlanLocalItem(LocalItem& item, const FolderPathMap& folderPaths) {
    if (item.newPath.empty()) {
        if (const std::wstring* const destination = Resolved(folderPaths, item.destFolderId)) {
            item.newPath = request_.localRoot + *destination + FileNamePart(item.oldPath);
        }
    }
    if (item.newPath.empty()) return;
    Ptr<LocalMoveData> entry = NewEntry(nullptr, item.oldPath, item.newPath, item.isFolder);
    const LocalMoveData& planned = *LinkPlanned(entry)->value;
    if (PathExists(planned.newPath)) errors_.Add(planned.oldPath, planned.newPath, E_QOR_NAME_ALREADY_EXISTS);
}

// Conflict scan: the whole source tree is appended; a target that is taken is
// reported and not descended. Nothing can exist below a target folder that
// does not, so only the content of an existing one is tested: one failed
// lookup per entry of the tree would cost more than all the rest of planning.
void Planner::ScanSourceTree(const std::wstring& oldFolder, const std::wstring& newFolder, bool newFolderExists,
                             FolderListings& listings) {
    for (const FolderListings::Entry& found : listings.Of(oldFolder)) {
        const LocalMoveData& planned = *LinkPlanned(EntryFor(oldFolder, newFolder, found))->value;
        if (newFolderExists && PathExists(planned.newPath)) {
            errors_.Add(planned.oldPath, planned.newPath, E_QOR_NAME_ALREADY_EXISTS);
        } else if (planned.isFolder) {
            ScanSourceTree(planned.oldPath, planned.newPath, false, listings);
        }
    }
}

// Every folder planned so far gets its content in front of it; what this
// inserts is not visited again.
void Planner::ExpandFolders(FolderListings& listings) {
    for (PlannedNode* node = moves_.head; node;) {
        PlannedNode* const next = node->next;
        if (node->value->isFolder) ExpandFolder(node, *node->value, listings);
        node = next;
    }
}

// Content before container: a folder's entries stand in enumeration order in
// front of it, each sub-folder's content in front of the sub-folder.
void Planner::ExpandFolder(PlannedNode* node, const LocalMoveData& entry, FolderListings& listings) {
    for (const FolderListings::Entry& found : listings.Of(entry.oldPath)) {
        PlannedNode* const inserted = LinkPlanned(EntryFor(entry.oldPath, entry.newPath, found), node);
        if (inserted->value->isFolder) ExpandFolder(inserted, *inserted->value, listings);
    }
}

// The list owns an entry once it is linked in: at the tail, or in front of `before`.
Planner::PlannedNode* Planner::LinkPlanned(Ptr<LocalMoveData>& entry, PlannedNode* before) {
    PlannedNode* const node = Link(moves_, entry.Get(), before);
    static_cast<void>(entry.Release());  // the node holds it
    return node;
}

Planner::PlannedNode* Planner::LinkPlanned(std::unique_ptr<LocalMoveData> entry, PlannedNode* before) {
    PlannedNode* const node = Link(moves_, entry.get(), before);
    static_cast<void>(entry.release());  // the node holds it
    return node;
}

}  // namespace

void PlanLocalMoves(MoveRequest& request, const FileNameMap& fileNames, const FolderPathMap& folderPaths,
                    Lst<LocalMoveData*>& moves, MoveErrors& errors) {
    Planner planner(request, moves, errors);
    FolderListings listings;
    for (MoveItem* item : request.items) planner.PlanRequestItem(*item, fileNames, folderPaths, listings);
    for (LocalItem* item : request.localItems) planner.PlanLocalItem(*item, folderPaths);
    planner.ExpandFolders(listings);
}
