#include "localview/MoveLocalFile.h"

#include "common/HResult.h"
#include "common/PathExists.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

bool Rename(const std::wstring& oldPath, const std::wstring& newPath) {
    return MoveFileExW(oldPath.c_str(), newPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// A copy cut short (seen under Wine when the target volume fills up) must not
// stay behind as a truncated file beside the intact source. A target that was
// there before is left as it is. The copy's error survives the clean-up.
bool CopyWhole(const std::wstring& oldPath, const std::wstring& newPath) {
    const bool existed = PathExists(newPath);
    if (CopyFileW(oldPath.c_str(), newPath.c_str(), FALSE)) return true;
    const DWORD error = GetLastError();
    if (!existed) {
        // The copy took the source's attributes; a read-only one refuses deletion.
        SetFileAttributesW(newPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(newPath.c_str());
    }
    SetLastError(error);
    return false;
}

}  // namespace

HRESULT MoveLocalFile(const std::wstring& oldPath, const std::wstring& newPath, ExistingFolders& folders) {
    // Longer paths never reach the buffer: no file operation takes them anyway.
    if (newPath.size() >= kLocalPathBufferChars) return HResultFromWin32(ERROR_FILENAME_EXCED_RANGE);
    wchar_t parent[kLocalPathBufferChars];
    wcscpy_s(parent, newPath.c_str());
    PathRemoveFileSpecW(parent);
    const HRESULT ensured = folders.Ensure(parent);
    if (FAILED(ensured)) return ensured;

    if (Rename(oldPath, newPath)) return S_OK;
    if (GetLastError() == ERROR_PATH_NOT_FOUND) {
        // The folder was there for an earlier file and someone removed it since.
        const HRESULT again = folders.EnsureOnDisk(parent);
        if (FAILED(again)) return again;
        if (again == S_OK && Rename(oldPath, newPath)) return S_OK;
    }
    // Any failed rename, not only one to another volume, is tried as a copy:
    // a file that another process shares for reading cannot be renamed but
    // can be copied, and the source goes only once the copy is whole.
    if (CopyWhole(oldPath, newPath)) {
        // A read-only source could not be deleted otherwise.
        SetFileAttributesW(oldPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(oldPath.c_str())) return S_OK;
    }
    // A failure that leaves no error code counts as success.
    return HResultFromLastError();
}

HRESULT MoveLocalFile(const std::wstring& oldPath, const std::wstring& newPath) {
    ExistingFolders folders;
    return MoveLocalFile(oldPath, newPath, folders);
}
