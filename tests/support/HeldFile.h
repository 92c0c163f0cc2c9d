// A file held open by another process, as a CAD program or an editor holds
// it, with a chosen access and share mode, until LetGo (or destruction).
#pragma once

#include "HelperProcess.h"

#include <windows.h>

#include <string>

class HeldFile {
public:
    // Returns once the other process holds the file; throws when it cannot.
    explicit HeldFile(const std::wstring& path, DWORD shareMode = 0, DWORD access = GENERIC_READ | GENERIC_WRITE)
        : holder_(L"FileHolder.exe", L"\"" + path + L"\" " + std::to_wstring(access) + L" " +
                                         std::to_wstring(shareMode) + L" " + std::to_wstring(GetCurrentProcessId())) {}

    // Returns once the other process has closed the file and ended.
    void LetGo() { holder_.Stop(); }

private:
    HelperProcess holder_;
};
