// Moving one file of the local view, with copy and delete where a rename
// cannot do it (another volume).
#pragma once

#include "localview/ExistingFolders.h"

#include <windows.h>

#include <string>

// The characters of the buffer that holds a target path and its terminator
// while its folder is made; a path of this length or longer is refused with
// ERROR_FILENAME_EXCED_RANGE.
inline constexpr size_t kLocalPathBufferChars = 520;

// S_OK, or the failure of the step that failed. A target is replaced. When
// only deleting the source failed, the file stands at both places. The
// service hears of every folder created for the target; `folders` spares
// the test of a target folder that an earlier move found or made.
HRESULT MoveLocalFile(const std::wstring& oldPath, const std::wstring& newPath, ExistingFolders& folders);
HRESULT MoveLocalFile(const std::wstring& oldPath, const std::wstring& newPath);
