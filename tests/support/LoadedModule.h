// GhMove.dll loaded the way a host loads it: LoadLibrary and GetProcAddress.
#pragma once

#include "GhMove.h"

#include <string>

class LoadedModule {
public:
    // By default the DLL beside the test program.
    explicit LoadedModule(const std::wstring& path = BesideProgram(L"GhMove.dll"));
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    HMODULE Handle() const { return module_; }
    HRESULT Move(HWND parent, MoveHost* host, MoveRequest* request, bool silent) const;

    static std::wstring BesideProgram(const std::wstring& name);

private:
    HMODULE module_;
    GhMoveFunction ghMove_ = nullptr;
};
