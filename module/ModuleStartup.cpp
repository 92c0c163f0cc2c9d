#include "module/ModuleStartup.h"

#include "common/Bstr.h"
#include "common/ComCreate.h"
#include "common/ComErrors.h"
#include "interfaces/TextCatalog.h"

namespace {

HMODULE g_module = nullptr;
ComPtr<ITextCatalog> g_catalog;

// COM stands on the loading thread as the host left it; without it the
// creation fails and the module speaks English.
ComPtr<ITextCatalog> StartedCatalog() {
    ComPtr<ITextCatalog> service;
    if (FAILED(CreateRunningObject(CLSID_TextCatalog, IID_ITextCatalog, service)) || !service) return {};
    if (FAILED(service->Init(Bstr(kProductCaption).Get(), Bstr(L"Move").Get()))) return {};
    return service;
}

}  // namespace

// Nothing may leave the loader's call: memory that runs out here leaves the
// module without its service, speaking English.
void OnProcessAttach(HMODULE module) {
    g_module = module;
    GuardedCall([] {
        g_catalog = StartedCatalog();
        return S_OK;
    });
}

void OnProcessDetach(bool processTerminating) {
    if (processTerminating) {
        // The service's library may already be gone; calling into it now could crash the exit.
        (void)g_catalog.Detach();
        return;
    }
    g_catalog.Reset();
}

HMODULE ModuleHandle() { return g_module; }

ITextCatalog* TextCatalogService() { return g_catalog.Get(); }
