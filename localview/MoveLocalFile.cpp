#include "localview/MoveLocalFile.h"

#include "common/HResult.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

bool Rename(const std::wstring& oldPath, const std::wstring& newPath) {
    return MoveFileExW(oldPath.c_str(), newPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
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
    if (CopyFileW(oldPath.c_str(), newPath.c_str(), FALSE)) {
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
