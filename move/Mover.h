// Mover: carries one call of ghMove from the request to the result.
//
// Its operations are defined beside the subsystem they belong to: the driver
// and name checks in move/, planning and execution in localview/, add-ins and
// references in filerefs/, the report in report/.
#pragma once

#include "GhMove.h"
#include "common/Ptr.h"
#include "localview/LocalMoveData.h"
#include "module/Messages.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class FileFormatMgr;
class FolderListings;
struct IAddInHooks;

// Lower-case old path -> the path where the local move put it.
using MovedPaths = std::map<std::wstring, std::wstring>;
// Lower-case path -> last-write time (local time) to give the file at the end.
using SavedTimes = std::map<std::wstring, SYSTEMTIME>;

class Mover {
public:
    Mover(HWND parent, MoveHost* host, MoveRequest* request, bool silent);
    Mover(const Mover&) = delete;
    Mover& operator=(const Mover&) = delete;
    virtual ~Mover();

    // The driver: every step of a move or rename, in order.
    HRESULT Run();

    // What is refused in the request before anything changes: E_POINTER for a
    // null element of items or localItems, E_INVALIDARG for items without a
    // local view root that is a full path; S_OK otherwise.
    HRESULT CheckRequest() const;
    // The same for what the host listed in refFiles: E_POINTER for a null
    // RefFile or MoveRef, E_INVALIDARG for a path with a zero inside.
    HRESULT CheckListedReferences() const;
    // Every planned move whose paths are not full local paths (E_INVALIDARG)
    // or whose new path would not fit the file move's buffer
    // (ERROR_FILENAME_EXCED_RANGE) gets an entry in `errors`; true when any did.
    bool RecordUnworkablePaths();

    // Name validation and presentation.
    bool ValidateTargetName(const std::wstring& name, const std::wstring& oldPath, const std::wstring& newPath);
    bool ValidateNames(const FolderPathMap& folderPaths, const FileNameMap& fileNames);
    bool IsRename() const;
    std::wstring Caption() const;

    // Local view.
    void PlanLocalMoves(const FileNameMap& fileNames, const FolderPathMap& folderPaths);
    void ExecuteLocalMoves(MovedPaths& movedPaths);

    // Local file checks and the reference rewrite pass.
    void CheckLocalMovesWritable();
    void CheckReferenceFilesFree(bool insideCad, DWORD processId);
    void RewriteReferences(const MovedPaths& movedPaths, SavedTimes& savedTimes, HRESULT& pending,
                           FileFormatMgr* manager);
    // The retry question about one file; the message box's answer.
    int AskRetry(const std::wstring& path, HRESULT code);
    // Plain CAD documents: the vault handles the documents they reference.
    HRESULT ProcessReferencedFiles(const std::wstring& target);

    // Add-ins.
    HRESULT NotifyAddIns(IAddInHooks* hook, int32_t fileCount, int32_t folderCount, const FolderPathMap& folderPaths,
                         const FileNameMap& fileNames, int32_t folderCmd, int32_t fileCmd, bool before);

    // The report of everything in the request's failure lists.
    void ShowMoveErrors(const std::wstring& description, bool cannotMode);
    // The vault files that share a name, for a report item that offers them.
    HRESULT ShowNonUniqueFiles(const std::vector<std::wstring>* paths, const std::vector<std::wstring>* otherPaths);

    // Appends one entry to the request's `errors`.
    void AddError(const std::wstring& path, const std::wstring& newPath, HRESULT code,
                  const std::wstring& detail = std::wstring());

    HWND hwndParent;
    MoveHost* host;
    MoveRequest* request;
    bool silent;
    Lst<LocalMoveData*> localMoves;

private:
    // How many files and folders the request moves and renames.
    struct OperationCounts {
        int32_t movedFiles = 0;
        int32_t renamedFiles = 0;
        int32_t movedFolders = 0;
        int32_t renamedFolders = 0;
    };

    using PlannedNode = Lst<LocalMoveData*>::Node;

    // Local move planning.
    void PlanRequestItem(MoveItem& item, const FileNameMap& fileNames, const FolderPathMap& folderPaths,
                         FolderListings& listings);
    void PlanLocalItem(LocalItem& item, const FolderPathMap& folderPaths);
    void ScanSourceTree(const std::wstring& oldFolder, const std::wstring& newFolder, bool newFolderExists,
                        FolderListings& listings);
    void ExpandFolders(FolderListings& listings);
    void ExpandFolder(PlannedNode* node, const LocalMoveData& entry, FolderListings& listings);
    PlannedNode* LinkPlanned(Ptr<LocalMoveData>& entry, PlannedNode* before = nullptr);
    PlannedNode* LinkPlanned(std::unique_ptr<LocalMoveData> entry, PlannedNode* before = nullptr);

    // Local move execution and its notices.
    void SortLocalMoves(Lst<LocalMoveData*>& working) const;
    void AnnounceLocalMoves(const Lst<LocalMoveData*>& working);
    void RemoveEmptiedFolders(Lst<LocalMoveData*>& removals);
    void NotifyShell(const Lst<LocalMoveData*>& working);

    void EmptyOutputLists();
    OperationCounts CollectIdentifiers(FolderPathMap& folderPaths, FileNameMap& fileNames) const;
    HRESULT NotifyAddInsBefore(IAddInHooks* hook, const OperationCounts& counts, const FolderPathMap& folderPaths,
                               const FileNameMap& fileNames, HRESULT hr);
    HRESULT NotifyAddInsAfter(IAddInHooks* hook, const OperationCounts& counts, const FolderPathMap& folderPaths,
                              const FileNameMap& fileNames, HRESULT pending);
    bool RecordSharedTargets();
    bool TryAgain(const std::wstring& path, HRESULT code, bool& stopAsking);
    void RewriteFile(RefFile* file, const std::wstring& path, HRESULT& pending, FileFormatMgr* manager,
                     bool& stopAsking);
    void Report(Msg sentence, bool cannotMode);
    void ShowErrorBox(const std::wstring& text) const;
    void ShowAddInError(HRESULT hr) const;
    Msg LocalFailureSentence() const;
    Msg DatabaseFailureSentence() const;
};

#if defined(_M_IX86) || defined(__i386__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(Mover, hwndParent) == 4 && offsetof(Mover, host) == 8 && offsetof(Mover, request) == 12 &&
                  offsetof(Mover, silent) == 16 && offsetof(Mover, localMoves) == 20 && sizeof(Mover) == 36,
              "Mover: vtable, parent window, host, request, silent, localMoves");
#pragma GCC diagnostic pop
#endif
