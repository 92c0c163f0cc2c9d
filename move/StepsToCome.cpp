// Steps of the driver whose capability has not been built yet. Each one does
// nothing, so the driver's sequence, results and stops already hold; the
// capability named in each comment replaces its step here.
#include "localview/FileTime.h"
#include "move/Mover.h"
#include "report/ProductMessageBox.h"

// Local file checks: every local move source must open for exclusive writing.
void Mover::CheckLocalMovesWritable() {}

// Held-file check: no file whose references change may be open elsewhere.
void Mover::CheckReferenceFilesFree(bool, DWORD) {}

// Reference rewrite pass: the file-format manager rewrites every RefFile.
void Mover::RewriteReferences(const MovedPaths&, SavedTimes&, HRESULT&, FileFormatMgr*) {}

// Add-in command notification: the add-ins hear of the operation and may veto.
HRESULT Mover::NotifyAddIns(IAddInHooks*, int32_t, int32_t, const FolderPathMap&, const FileNameMap&, int32_t,
                            int32_t, bool) {
    return S_OK;
}

// Error report: the request's failure lists shown in the report dialog.
void Mover::ShowMoveErrors(const std::wstring&, bool) {}

// File times: the saved last-write time is written back after the rewrite.
bool SetLastWriteTime(const std::wstring&, const SYSTEMTIME&) { return false; }

// Non-unique files dialog: the vault files that carry the name in question.
HRESULT Mover::ShowNonUniqueFiles(const std::vector<std::wstring>*, const std::vector<std::wstring>*) { return S_OK; }

// Message-box library: the retry question; 0 means no box could be shown.
int ShowProductMessageBox(const std::wstring&, const std::wstring&, HWND) { return 0; }
