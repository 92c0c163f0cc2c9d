#include "LoadedModule.h"

#include <stdexcept>

LoadedModule::LoadedModule(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {
    if (!module_) throw std::runtime_error("GhMove.dll did not load");
    ghMove_ = reinterpret_cast<GhMoveFunction>(reinterpret_cast<void (*)()>(GetProcAddress(module_.Get(), "ghMove")));
    if (!ghMove_) throw std::runtime_error("GhMove.dll exports no ghMove");
}

HRESULT LoadedModule::Move(HWND parent, MoveHost* host, MoveRequest* request, bool silent) const {
    return ghMove_(parent, host, request, silent);
}

std::wstring LoadedModule::BesideProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}
