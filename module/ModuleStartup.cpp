#include "module/ModuleStartup.h"

#include "common/Bstr.h"
#include "common/ComPtr.h"
#include "interfaces/TextCatalog.h"

#include <ole2.h>

namespace {

HMODULE g_module = nullptr;
ComPtr<ITextCatalog> g_catalog;

constexpr DWORD kAnyServerContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                    CLSCTX_REMOTE_SERVER;  // 0x17

HRESULT CreateCatalogService(ComPtr<ITextCatalog>& service) {
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(CLSID_TextCatalog, nullptr, kAnyServerContext, IID_IUnknown, unknown.PutVoid());
    if (FAILED(hr)) return hr;
    hr = OleRun(unknown.Get());
    if (FAILED(hr)) return hr;
    service = ComPtr<ITextCatalog>::Query(unknown.Get(), IID_ITextCatalog, &hr);
    return hr;
}

}  // namespace

void OnProcessAttach(HMODULE module) {
    g_module = module;
    // COM stands on the loading thread as the host left it; without it the
    // creation fails and the module speaks English.
    ComPtr<ITextCatalog> service;
    if (FAILED(CreateCatalogService(service)) || !service) return;
    if (FAILED(service->Init(Bstr(kProductCaption).Get(), Bstr(L"Move").Get()))) return;
    g_catalog = std::move(service);
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
