// GhMove.dll loaded the way a host loads it: LoadLibrary and GetProcAddress.
#pragma once

#include "GhMove.h"
#include "common/Handles.h"

#include <string>

class LoadedModule {
public:
    // By default the DLL beside the test program.
    explicit LoadedModule(const std::wstring& path = BesideProgram(L"GhMove.dll"));

    HRESULT Move(HWND parent, MoveHost* host, MoveRequest* request, bool silent) const;

    static std::wstring BesideProgram(const std::wstring& name);

private:
    UniqueLibrary module_;
    GhMoveFunction ghMove_ = nullptr;
};
