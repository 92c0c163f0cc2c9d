// The folders that one execution found or made at the new places.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_set>

// Every file that goes into a folder needs the folder first; remembering the
// folders already there tests each once, not once per file. A folder that
// someone removes meanwhile is found out by the move into it, which then
// makes it again.
class ExistingFolders {
public:
    // EnsureDirectory, and the folder is remembered unless that failed.
    HRESULT EnsureOnDisk(const std::wstring& folder);
    // S_FALSE for a remembered folder, without asking the disk.
    HRESULT Ensure(const std::wstring& folder);

private:
    std::unordered_set<std::wstring> known_;
};
