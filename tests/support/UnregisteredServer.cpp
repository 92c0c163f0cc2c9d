#include "UnregisteredServer.h"

#include "LoadedModule.h"

UnregisteredServer::UnregisteredServer(const wchar_t* dll)
    : module_(LoadLibraryW(LoadedModule::BesideProgram(dll).c_str())),
      unregistered_(Call("DllUnregisterServer") == S_OK) {}

UnregisteredServer::~UnregisteredServer() {
    Call("DllRegisterServer");
    if (module_) FreeLibrary(module_);
}

HRESULT UnregisteredServer::Call(const char* entry) const {
    using Registration = HRESULT(__stdcall*)();
    const auto call =
        module_ ? reinterpret_cast<Registration>(reinterpret_cast<void (*)()>(GetProcAddress(module_, entry))) : nullptr;
    return call ? call() : E_FAIL;
}
