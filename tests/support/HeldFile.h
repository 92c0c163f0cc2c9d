// A file held open by another process, as a CAD program or an editor holds
// it, with a chosen access and share mode, until LetGo (or destruction).
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <string>

class HeldFile {
public:
    // Returns once the other process holds the file; throws when it cannot.
    explicit HeldFile(const std::wstring& path, DWORD shareMode = 0,
                      DWORD access = GENERIC_READ | GENERIC_WRITE);
    ~HeldFile() { LetGo(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Returns once the other process has closed the file and ended.
    void LetGo();

private:
    UniqueHandle letGo_;
    UniqueHandle process_;
};
