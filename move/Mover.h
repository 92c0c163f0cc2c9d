// Mover: carries one call of ghMove from the request to the result.
//
// Its operations are short calls into the subsystems below it: planning and
// execution in localview/, add-ins and references in filerefs/, the report in
// report/.
#pragma once

#include "GhMove.h"
#include "localview/LocalMoveData.h"
#include "localview/LocalMoveExecution.h"
#include "module/Messages.h"
#include "report/ReportedMove.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class FileFormatMgr;
struct IAddInHooks;

// Lower-case path -> last-write time (local time) to give the file at the end.
using SavedTimes = std::map<std::wstring, SYSTEMTIME>;

class Mover : public ReportedMove {
public:
    Mover(HWND parent, MoveHost* host, MoveRequest* request, bool silent);
    Mover(const Mover&) = delete;
    Mover& operator=(const Mover&) = delete;
    virtual ~Mover();

    // The driver: a move or rename from the request to the result.
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
    std::wstring Caption() const override;

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
    HRESULT ShowNonUniqueFiles(const std::vector<std::wstring>* paths,
                               const std::vector<std::wstring>* otherPaths) override;

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

    // What the checks settle for the changes that follow them.
    struct Accepted;

    // Everything that can refuse the operation, before anything changes; the
    // result to return when it is refused.
    std::optional<HRESULT> RefuseBeforeChanging(Accepted& accepted);
    std::optional<HRESULT> AddInVeto(Accepted& accepted, HRESULT resolved);
    std::optional<HRESULT> RefusePlannedMoves(const Accepted& accepted);
    std::optional<HRESULT> RefuseHeldFiles();
    // The vault database, then the local disk and the references in files.
    HRESULT ChangeDatabaseAndDisk(const Accepted& accepted);
    std::optional<HRESULT> MoveInDatabase(HRESULT& pending);
    void UpdateReferences(const MovedPaths& movedPaths, HRESULT& pending, FileFormatMgr* manager);
    std::optional<HRESULT> TellAddInsAfter(const Accepted& accepted, HRESULT pending);
    HRESULT ReportLocalFailures();

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
